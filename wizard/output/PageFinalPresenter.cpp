#include "wizard/output/PageFinalPresenter.h"

#include "output/Generation.h"
#include "output/InfHazards.h"
#include "output/OutputPlan.h"
#include "output/package/DriverPackage.h"
#include "resources/StringTable.h"
#include "wizard/SheetPresenter.h"

namespace tessaly {
namespace {

std::string WithBusName(std::string_view format, Bus bus) {
    std::string text(format);
    if (const auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, bus == Bus::Usb ? "USB" : "PXI");
    }
    return text;
}

}  // namespace

PageFinalPresenter::PageFinalPresenter(SheetPresenter& sheet)
    : PagePresenter(sheet, kPageFinal, "Tessaly Wizard - Output Files") {}

void PageFinalPresenter::OnInitDialog() {
    WizardModel& m = model();
    const Platform& platform = services().platform;
    ComputeDefaultOutputDirectory(m.device, m.plan, platform.registry, platform.system,
                                  platform.files);
    view().SetChecked(kPackageCheck, writePackage_);
    view().SetEnabled(kPackageCheck, services().packages != nullptr);
    RefreshFileList();
}

void PageFinalPresenter::OnSetActive() {
    WizardModel& m = model();
    const Bus bus = m.device.BusType;
    sheet().SetTitle(WithBusName(strings::kOutputFilesTitle, bus));
    view().SetText(kPrefixLabel, WithBusName(strings::kInstrumentPrefixLabel, bus));
    view().SetText(kNoteText, std::string(bus == Bus::Usb ? strings::kUsbDistributionNote
                                                          : strings::kPxiDistributionNote));
    sheet().SetButtons(kButtonBack | kButtonNext);
    RefreshFileList();
    RunValidatePrefix();
}

void PageFinalPresenter::RunValidatePrefix() {
    ValidatePrefix(model().device, model().plan, services().platform.files, services().prompter);
    RefreshFileList();
}

void PageFinalPresenter::RefreshFileList() {
    WizardModel& m = model();
    ComposeFileNames(m.device, m.plan, services().platform.files);
    std::string list = FileListText(m.plan, m.device.BusType);
    if (writePackage_) {
        const PackagePaths package = PackagePathsFor(
            m.device.OutputDirectory, m.device.InstrumentPrefix, services().platform.files);
        list += "\r\n" + package.inf + "\r\n" + package.catalog + "\r\n" + package.certificate;
    }
    view().SetText(kFileListText, list);
    view().SetText(kPrefixEdit, m.device.InstrumentPrefix);
    view().SetText(kDirectoryEdit, m.device.OutputDirectory);
    std::string hazards;
    for (const InfHazard& hazard : FindInfHazards(m.device, m.device.BusType)) {
        hazards += (hazards.empty() ? "" : "\r\n") + DescribeInfHazard(hazard);
    }
    view().SetText(kHazardText, hazards);
    view().SetVisible(kHazardText, !hazards.empty());
}

void PageFinalPresenter::OnTextChanged(ControlId control, const std::string& text) {
    DeviceDescription& device = model().device;
    if (control == kPrefixEdit && text != device.InstrumentPrefix) {
        device.InstrumentPrefix = text;
        FollowPrefixInDirectory(device, model().plan, services().platform.files);
        RefreshFileList();
    } else if (control == kDirectoryEdit && text != device.OutputDirectory) {
        device.OutputDirectory = text;
        RefreshFileList();
    }
}

void PageFinalPresenter::OnFocusLeft(ControlId control) {
    if (control == kPrefixEdit) {
        RunValidatePrefix();
    }
}

void PageFinalPresenter::OnClicked(ControlId control) {
    if (control != kBrowseButton) {
        return;
    }
    std::string& directory = model().device.OutputDirectory;
    if (const auto folder = services().dialogs.ChooseFolder(directory)) {
        directory = *folder;
    }
    RefreshFileList();
}

void PageFinalPresenter::OnChecked(ControlId control, bool checked) {
    if (control == kPackageCheck) {
        writePackage_ = checked;
        RefreshFileList();
    }
}

bool PageFinalPresenter::WritePackage() {
    const WizardServices& s = services();
    const PackageEnvironment& environment = *s.packages;
    const std::optional<std::int64_t> date = PackageDate(environment);
    if (!date) {
        s.prompter.ShowMessage("The driver package was not written: SOURCE_DATE_EPOCH \"" +
                                   *environment.sourceDateEpoch +
                                   "\" is not a number of seconds since 1970.",
                               MessageIcon::Stop);
        return false;
    }
    DriverPackageRequest request;
    request.device = model().device;
    request.outputDirectory = model().device.OutputDirectory;
    request.date = *date;
    request.now = environment.now;
    // Making the certificate's key takes a moment.
    std::optional<DriverPackage>& package = model().plan.Package;
    s.dialogs.WithWaitCursor([&] {
        package = WriteDriverPackage(request, s.platform.files, environment.crypto, s.prompter);
    });
    return package.has_value();
}

NavAnswer PageFinalPresenter::OnWizardNext() {
    // A prefix still being typed when Next was pressed by Enter gets its check here, so no file
    // is named from a prefix the rules refuse.
    if (!IsValidPrefix(model().device.InstrumentPrefix)) {
        RunValidatePrefix();
        return NavAnswer::Stay();
    }
    RefreshFileList();
    const int failed = GenerateAll(model().device, model().plan, services().platform,
                                   services().prompter, GenerationSource::OutputPage, false);
    if (failed != 0) {
        return NavAnswer::Stay();
    }
    // A package that was not written keeps the page with its message, for Next to try again;
    // the seed's files stay written.
    const bool package = writePackage_ && services().packages != nullptr;
    return !package || WritePackage() ? NavAnswer::Default() : NavAnswer::Stay();
}

NavAnswer PageFinalPresenter::OnWizardBack() {
    return BackFrom(id(), {model().device.BusType, model().device.GeneratesInterrupts});
}

}  // namespace tessaly
