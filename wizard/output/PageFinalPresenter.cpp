#include "wizard/output/PageFinalPresenter.h"

#include "output/Generation.h"
#include "output/InfHazards.h"
#include "output/OutputPlan.h"
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
    view().SetText(kFileListText, FileListText(m.plan, m.device.BusType));
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
    return failed == 0 ? NavAnswer::Default() : NavAnswer::Stay();
}

NavAnswer PageFinalPresenter::OnWizardBack() {
    return BackFrom(id(), {model().device.BusType, model().device.GeneratesInterrupts});
}

}  // namespace tessaly
