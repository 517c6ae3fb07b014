#include "wizard/device/DevicePages.h"

#include <algorithm>

#include "device/DeviceChecks.h"
#include "device/IdText.h"
#include "discovery/DeviceChoice.h"
#include "discovery/DeviceSource.h"
#include "modulefile/ModuleLoader.h"
#include "output/Generation.h"
#include "wizard/SheetPresenter.h"

namespace tessaly {
namespace {

constexpr DeviceField kPxiFields[] = {
    {kManufCodeEdit, &DeviceDescription::ManufCode, true},
    {kModelCodeEdit, &DeviceDescription::ModelCode, true},
    {kSubsystemManufCodeEdit, &DeviceDescription::SubsystemManufCode, true},
    {kSubsystemModelCodeEdit, &DeviceDescription::SubsystemModelCode, true},
    {kManufNameEdit, &DeviceDescription::ManufName},
    {kModelNameEdit, &DeviceDescription::ModelName},
};

constexpr DeviceField kUsbFields[] = {
    {kUsbVendorIdEdit, &DeviceDescription::UsbVendorId, true},
    {kUsbProductIdEdit, &DeviceDescription::UsbProductId, true},
    {kUsbManufNameEdit, &DeviceDescription::UsbManufName},
    {kUsbModelNameEdit, &DeviceDescription::UsbModelName},
    {kInterfaceCountEdit, &DeviceDescription::InterfaceCountText},
};

const OpenFileRequest kOpenModuleFile{
    .title = "Open Module Description File",
    .filters = {{"Module Description Files (*.ini)", {"*.ini"}}, {"All Files (*.*)", {"*.*"}}},
    .defaultExtension = "ini",
};

FlowFacts Facts(const DeviceDescription& device, bool generatedAtOnce = false) {
    return {device.BusType, device.GeneratesInterrupts, generatedAtOnce};
}

}  // namespace

PageWelcomePresenter::PageWelcomePresenter(SheetPresenter& sheet)
    : PagePresenter(sheet, kPageWelcome, "Tessaly Wizard - Hardware Bus") {}

void PageWelcomePresenter::OnInitDialog() {
    const Bus bus = model().device.BusType;
    view().SetChecked(kPxiRadio, bus == Bus::PxiPci);
    view().SetChecked(kUsbRadio, bus == Bus::Usb);
    chosen_ = bus;
}

void PageWelcomePresenter::OnSetActive() {
    sheet().SetButtons(kButtonNext);
}

void PageWelcomePresenter::OnChecked(ControlId control, bool checked) {
    if (checked && (control == kPxiRadio || control == kUsbRadio)) {
        chosen_ = control == kPxiRadio ? Bus::PxiPci : Bus::Usb;
    }
}

NavAnswer PageWelcomePresenter::OnWizardNext() {
    model().device.BusType = chosen_;
    return NextFrom(id(), Facts(model().device));
}

void DevicePagePresenter::OnTextChanged(ControlId control, const std::string& text) {
    for (const DeviceField& field : Fields()) {
        if (field.control == control) {
            model().device.*field.value = text;
        }
    }
}

void DevicePagePresenter::OnFocusLeft(ControlId control) {
    for (const DeviceField& field : Fields()) {
        if (field.isId && field.control == control) {
            std::string& value = model().device.*field.value;
            value = NormalizeIdText(value);
            view().SetText(control, value);
        }
    }
}

void DevicePagePresenter::ShowValues() {
    for (const DeviceField& field : Fields()) {
        view().SetText(field.control, model().device.*field.value);
    }
}

void DevicePagePresenter::PickAttachedDevice() {
    DeviceSource& source = services().platform.devices;
    DeviceDescription& device = model().device;
    std::optional<std::string> leftOut;
    if (id() == kPageWelcomeUsb) {
        const std::vector<UsbDevice> devices = source.UsbDevices();
        const IdDatabase ids = source.LoadIds("usb.ids");
        const auto chosen = services().dialogs.ChooseAttachedDevice(UsbDeviceTable(devices, ids));
        if (!chosen || *chosen >= devices.size()) {
            return;
        }
        leftOut = ApplyUsbChoice(device, devices[*chosen], ids);
    } else {
        const std::vector<PciDevice> devices = source.PciDevices();
        const IdDatabase ids = source.LoadIds("pci.ids");
        const auto chosen = services().dialogs.ChooseAttachedDevice(PciDeviceTable(devices, ids));
        if (!chosen || *chosen >= devices.size()) {
            return;
        }
        leftOut = ApplyPciChoice(device, devices[*chosen], ids);
    }
    ShowValues();
    ApplyRule();
    if (leftOut) {
        services().prompter.ShowMessage(*leftOut, MessageIcon::Exclamation);
    }
}

PageWelcomePxiPresenter::PageWelcomePxiPresenter(SheetPresenter& sheet)
    : DevicePagePresenter(sheet, kPageWelcomePxi,
                          "Tessaly Wizard - PXI - Basic Device Information") {}

std::span<const DeviceField> PageWelcomePxiPresenter::Fields() const {
    return kPxiFields;
}

void PageWelcomePxiPresenter::OnInitDialog() {
    ShowValues();
    view().SetEnabled(kViewLoadedSettingsCheck, moduleLoaded_);
    ApplyRule();
}

void PageWelcomePxiPresenter::ShowValues() {
    DevicePagePresenter::ShowValues();
    view().SetChecked(kUsesSubsystemCheck, model().device.UsesSubsystem);
    view().SetChecked(kGeneratesInterruptsCheck, model().device.GeneratesInterrupts);
}

void PageWelcomePxiPresenter::ApplyRule() {
    const bool enabled = model().device.UsesSubsystem;
    for (const ControlId control : {kSubsystemManufCodeEdit, kSubsystemModelCodeEdit,
                                    kSubsystemManufCodeLabel, kSubsystemModelCodeLabel}) {
        view().SetEnabled(control, enabled);
    }
}

void PageWelcomePxiPresenter::OnChecked(ControlId control, bool checked) {
    switch (control) {
        case kUsesSubsystemCheck:
            model().device.UsesSubsystem = checked;
            ApplyRule();
            break;
        case kGeneratesInterruptsCheck:
            model().device.GeneratesInterrupts = checked;
            break;
        case kViewLoadedSettingsCheck:
            reviewLoaded_ = checked;
            break;
        default:
            break;
    }
}

void PageWelcomePxiPresenter::OnClicked(ControlId control) {
    if (control == kLoadModuleFileButton) {
        LoadModuleFile();
    } else if (control == kPickDeviceButton) {
        PickAttachedDevice();
    }
}

void PageWelcomePxiPresenter::LoadModuleFile() {
    const WizardServices& s = services();
    const std::optional<std::string> path = s.dialogs.ChooseFileToOpen(kOpenModuleFile);
    if (!path) {
        return;
    }
    const auto choose = [&s](const std::vector<std::string>& functions) {
        return s.dialogs.ChooseFunction(functions);
    };
    if (LoadModuleDescriptionFile(model().device, *path, s.platform.files, s.prompter, choose) ==
        0) {
        // Never disabled again; its check state stays as the user left it.
        moduleLoaded_ = true;
        view().SetEnabled(kViewLoadedSettingsCheck, true);
        // The detection page shows the loaded sequences at its next activation.
        model().RefreshOnActivate = true;
    }
    ShowValues();
    ApplyRule();
}

NavAnswer PageWelcomePxiPresenter::OnWizardNext() {
    if (const auto message = CheckPxiPage(model().device)) {
        services().prompter.ShowMessage(std::string(*message), MessageIcon::Stop);
        return NavAnswer::Stay();
    }
    const bool atOnce = moduleLoaded_ && !reviewLoaded_;
    if (atOnce &&
        GenerateAll(model().device, model().plan, services().platform, services().prompter,
                    GenerationSource::DefaultDirectory, false) != 0) {
        return NavAnswer::Stay();
    }
    return NextFrom(id(), Facts(model().device, atOnce));
}

NavAnswer PageWelcomePxiPresenter::OnWizardBack() {
    return BackFrom(id(), Facts(model().device));
}

PageWelcomeUsbPresenter::PageWelcomeUsbPresenter(SheetPresenter& sheet)
    : DevicePagePresenter(sheet, kPageWelcomeUsb,
                          "Tessaly Wizard - USB - Basic Device Information") {}

std::span<const DeviceField> PageWelcomeUsbPresenter::Fields() const {
    return kUsbFields;
}

void PageWelcomeUsbPresenter::OnInitDialog() {
    ShowValues();
    ApplyRule();
}

void PageWelcomeUsbPresenter::ShowValues() {
    DevicePagePresenter::ShowValues();
    view().SetChecked(kCompoundDeviceCheck, model().device.IsCompoundDevice);
}

void PageWelcomeUsbPresenter::ApplyRule() {
    view().SetEnabled(kInterfaceCountEdit, model().device.IsCompoundDevice);
}

void PageWelcomeUsbPresenter::OnChecked(ControlId control, bool checked) {
    if (control == kCompoundDeviceCheck) {
        model().device.IsCompoundDevice = checked;
        ApplyRule();
    }
}

void PageWelcomeUsbPresenter::OnClicked(ControlId control) {
    if (control == kPickDeviceButton) {
        PickAttachedDevice();
    }
}

std::optional<std::string> PageWelcomeUsbPresenter::RefusalOf(ControlId control,
                                                              std::string_view utf8) const {
    if (control == kInterfaceCountEdit &&
        !std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::string();
    }
    return DevicePagePresenter::RefusalOf(control, utf8);
}

NavAnswer PageWelcomeUsbPresenter::OnWizardNext() {
    if (const auto message = CheckUsbPage(model().device)) {
        services().prompter.ShowMessage(std::string(*message), MessageIcon::Stop);
        return NavAnswer::Stay();
    }
    ShowValues();
    return NextFrom(id(), Facts(model().device));
}

NavAnswer PageWelcomeUsbPresenter::OnWizardBack() {
    return BackFrom(id(), Facts(model().device));
}

}  // namespace tessaly
