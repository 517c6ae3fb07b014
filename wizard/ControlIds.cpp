#include "wizard/ControlIds.h"

#include <algorithm>
#include <iterator>

#include "wizard/PageIds.h"

namespace tessaly {
namespace {

struct NamedControl {
    int dialog;
    ControlId control;
    std::string_view name;
    TextEncoding encoding = TextEncoding::Latin1;
};

constexpr NamedControl kControls[] = {
    {kPageWelcome, kPxiRadio, "pxiRadio"},
    {kPageWelcome, kUsbRadio, "usbRadio"},

    {kPageWelcomePxi, kManufCodeEdit, "manufCodeEdit"},
    {kPageWelcomePxi, kModelCodeEdit, "modelCodeEdit"},
    {kPageWelcomePxi, kSubsystemManufCodeEdit, "subsystemManufCodeEdit"},
    {kPageWelcomePxi, kSubsystemModelCodeEdit, "subsystemModelCodeEdit"},
    {kPageWelcomePxi, kSubsystemManufCodeLabel, "subsystemManufCodeLabel"},
    {kPageWelcomePxi, kSubsystemModelCodeLabel, "subsystemModelCodeLabel"},
    {kPageWelcomePxi, kManufNameEdit, "manufNameEdit"},
    {kPageWelcomePxi, kModelNameEdit, "modelNameEdit"},
    {kPageWelcomePxi, kUsesSubsystemCheck, "usesSubsystemCheck"},
    {kPageWelcomePxi, kGeneratesInterruptsCheck, "generatesInterruptsCheck"},
    {kPageWelcomePxi, kLoadModuleFileButton, "loadModuleFileButton"},
    {kPageWelcomePxi, kPickDeviceButton, "pickDeviceButton"},
    {kPageWelcomePxi, kViewLoadedSettingsCheck, "viewLoadedSettingsCheck"},

    {kPageWelcomeUsb, kUsbVendorIdEdit, "usbVendorIdEdit"},
    {kPageWelcomeUsb, kUsbProductIdEdit, "usbProductIdEdit"},
    {kPageWelcomeUsb, kUsbManufNameEdit, "usbManufNameEdit"},
    {kPageWelcomeUsb, kUsbModelNameEdit, "usbModelNameEdit"},
    {kPageWelcomeUsb, kCompoundDeviceCheck, "compoundDeviceCheck"},
    {kPageWelcomeUsb, kInterfaceCountEdit, "interfaceCountEdit"},
    {kPageWelcomeUsb, kPickDeviceButton, "pickDeviceButton"},

    {kPageIsMine, kSequenceCombo, "sequenceCombo"},
    {kPageIsMine, kAddSequenceButton, "addSequenceButton"},
    {kPageIsMine, kRemoveSequenceButton, "removeSequenceButton"},
    {kPageIsMine, kStepList, "stepList"},
    {kPageIsMine, kAddBeforeButton, "addBeforeButton"},
    {kPageIsMine, kAddAfterButton, "addAfterButton"},
    {kPageIsMine, kEditStepButton, "editStepButton"},
    {kPageIsMine, kRemoveStepButton, "removeStepButton"},

    {kPageSquelch, kStepList, "stepList"},
    {kPageSquelch, kAddBeforeButton, "addBeforeButton"},
    {kPageSquelch, kAddAfterButton, "addAfterButton"},
    {kPageSquelch, kEditStepButton, "editStepButton"},
    {kPageSquelch, kRemoveStepButton, "removeStepButton"},

    {kPageFinal, kNoteText, "noteText"},
    {kPageFinal, kPrefixLabel, "prefixLabel"},
    {kPageFinal, kPrefixEdit, "prefixEdit"},
    {kPageFinal, kDirectoryLabel, "directoryLabel"},
    {kPageFinal, kDirectoryEdit, "directoryEdit", TextEncoding::Path},
    {kPageFinal, kBrowseButton, "browseButton"},
    {kPageFinal, kFileListText, "fileListText", TextEncoding::Path},
    {kPageFinal, kHazardText, "hazardText"},
    {kPageFinal, kPackageCheck, "packageCheck"},

    {kPageAfterSaveAction, kInstallChoice, "installChoice"},
    {kPageAfterSaveAction, kFtpChoice, "ftpChoice"},
    {kPageAfterSaveAction, kOpenFolderChoice, "openFolderChoice"},
    {kPageAfterSaveAction, kNothingChoice, "nothingChoice"},

    {kPageUseFtp, kHostNameEdit, "hostNameEdit"},
    {kPageUseFtp, kUserNameEdit, "userNameEdit"},
    {kPageUseFtp, kPasswordEdit, "passwordEdit"},
    {kPageUseFtp, kLocalFileEdit, "localFileEdit", TextEncoding::Path},
    {kPageUseFtp, kRemoteFileEdit, "remoteFileEdit", TextEncoding::Path},

    {kStepEditorDialog, kAccessCombo, "accessCombo"},
    {kStepEditorDialog, kWidthCombo, "widthCombo"},
    {kStepEditorDialog, kSpaceCombo, "spaceCombo"},
    {kStepEditorDialog, kOffsetEdit, "offsetEdit"},
    {kStepEditorDialog, kMaskEdit, "maskEdit"},
    {kStepEditorDialog, kValueEdit, "valueEdit"},
    {kStepEditorDialog, kOkButton, "okButton"},
    {kStepEditorDialog, kCancelButton, "cancelButton"},
    {kStepEditorDialog, kHelpButton, "helpButton"},

    {kFunctionSelectDialog, kFunctionCombo, "functionCombo"},
    {kFunctionSelectDialog, kOkButton, "okButton"},
    {kFunctionSelectDialog, kCancelButton, "cancelButton"},

    {kAttachedDeviceDialog, kFilterEdit, "filterEdit", TextEncoding::Utf8},
    {kAttachedDeviceDialog, kDeviceList, "deviceList", TextEncoding::Utf8},
    {kAttachedDeviceDialog, kEmptyText, "emptyText", TextEncoding::Utf8},
    {kAttachedDeviceDialog, kShowAllCheck, "showAllCheck"},
    {kAttachedDeviceDialog, kOkButton, "okButton"},
    {kAttachedDeviceDialog, kCancelButton, "cancelButton"},

    {kDirectoryBrowserDialog, kStatusText, "statusText", TextEncoding::Path},
};

const NamedControl* Find(int dialog, ControlId control) {
    const auto found = std::find_if(
        std::begin(kControls), std::end(kControls),
        [&](const NamedControl& c) { return c.dialog == dialog && c.control == control; });
    return found == std::end(kControls) ? nullptr : &*found;
}

}  // namespace

std::optional<std::string_view> ControlName(int dialog, ControlId control) {
    const NamedControl* found = Find(dialog, control);
    return found ? std::optional(found->name) : std::nullopt;
}

std::optional<ControlId> ControlNamed(int dialog, std::string_view name) {
    for (const NamedControl& c : kControls) {
        if (c.dialog == dialog && c.name == name) {
            return c.control;
        }
    }
    return std::nullopt;
}

TextEncoding ControlEncoding(int dialog, ControlId control) {
    const NamedControl* found = Find(dialog, control);
    return found ? found->encoding : TextEncoding::Latin1;
}

std::vector<DialogControl> NamedControls() {
    std::vector<DialogControl> controls;
    for (const NamedControl& c : kControls) {
        controls.push_back({c.dialog, c.control});
    }
    return controls;
}

std::string_view HelpPageOf(int dialog) {
    switch (dialog) {
        case kPageWelcome:
            return "page102.html";
        case kPageIsMine:
            return "page103.html";
        case kPageSquelch:
            return "page104.html";
        case kPageFinal:
            return "page105.html";
        case kPageUseFtp:
            return "page108.html";
        case kPageWelcomeUsb:
            return "page109.html";
        case kPageWelcomePxi:
            return "page110.html";
        case kPageAfterSaveAction:
            return "page111.html";
        case kStepEditorDialog:
            return "dialog106.html";
        case kFunctionSelectDialog:
            return "dialog129.html";
        case kAttachedDeviceDialog:
            return "devices.html";
        case kDirectoryBrowserDialog:
            return "folderbrowser.html";
        default:
            return "index.html";
    }
}

}  // namespace tessaly
