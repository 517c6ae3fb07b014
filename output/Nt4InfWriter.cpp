#include "output/InfText.h"
#include "output/InfWriters.h"
#include "output/PxiInfParts.h"

namespace tessaly {
namespace {

constexpr std::string_view kSaveFailed = "Unable to save Windows NT Setup Information File";

}  // namespace

std::string RenderNt4Inf(const DeviceDescription& device) {
    // NT4 has no Plug and Play: everything goes straight under the Corbel Database key.
    const std::string keyStart = pxi_inf::KeyStart(device);

    InfText text;
    text.Rule()
        .Line(";")
        .Line(";  This Windows NT4 Setup Information File contains the information ZEL-VISA")
        .Line(";  needs in order to access your instrument.  Do not modify the contents of")
        .Line(";  this file unless you are sure about what you are doing.")
        .Line(";")
        .Line(";  To apply the contents of this file to a system's settings, right click on")
        .Line(";  the filename and choose \"Install\" or use the following from the command line:")
        .Line(";")
        .Line(
            ";  rundll32.exe setupapi,InstallHinfSection DefaultInstall 132 "
            "<fullpathto>\\thisfile.inf")
        .Line(";")
        .Rule()
        .Line()
        .Line("[Version]")
        .Line("Signature=$WINDOWS NT$")
        .Line()
        .Rule()
        .Line()
        .Line("[PCI.Database]")
        .Join(keyStart, "\"BridgeType\",1,01,00,00,00")
        .Join(keyStart, "\"DeviceClass\",1,72,65,73,75");
    pxi_inf::AddInterruptValues(text, keyStart, device);
    pxi_inf::AddNameValues(text, keyStart, device);
    text.Line()
        .Rule()
        .Line()
        .Line("[DefaultInstall]")
        .Line("AddReg=PCI.Database")
        .Line()
        .Rule()
        .Line()
        .Line("[DefaultUninstall]")
        .Line("DelReg=PCI.Database")
        .Rule()
        .Line();
    pxi_inf::AddLegacyStrings(text, device);
    return text.str();
}

bool WriteNt4Inf(const DeviceDescription& device, const OutputPlan& plan, FileSystem& files,
                 Prompter& prompter) {
    return SaveGeneratedFile(plan.Files.Nt4Inf, RenderNt4Inf(device), kSaveFailed, files, prompter);
}

}  // namespace tessaly
