#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace tessaly {

// The controls of the pages and dialogs by their dialog template ids. An id is unique within its
// page or dialog only (1004 is the manufacturer name on page 110 and the prefix on page 105), so
// a control is named by its dialog and its id. Ids from 1200 up are controls the original
// templates lack. A resource script cannot read an enum: the Win32 view's resource header
// repeats these numbers, each checked against this one.
enum ControlId : int {
    kNoControl = 0,

    // Buttons of the dialogs (the Windows IDOK, IDCANCEL and IDHELP).
    kOkButton = 1,
    kCancelButton = 2,
    kHelpButton = 9,

    // 102: hardware bus.
    kPxiRadio = 1057,
    kUsbRadio = 1058,

    // 110: PXI/PCI device information.
    kManufCodeEdit = 1000,
    kModelCodeEdit = 1001,
    kGeneratesInterruptsCheck = 1002,
    kModelNameEdit = 1003,
    kManufNameEdit = 1004,
    kSubsystemManufCodeEdit = 1005,
    kSubsystemModelCodeEdit = 1006,
    kUsesSubsystemCheck = 1007,
    kViewLoadedSettingsCheck = 1085,
    kLoadModuleFileButton = 1096,
    kPickDeviceButton = 1203,  // also on 109
    kSubsystemManufCodeLabel = 1201,
    kSubsystemModelCodeLabel = 1202,

    // 109: USB device information.
    kCompoundDeviceCheck = 1062,
    kInterfaceCountEdit = 1063,
    kUsbVendorIdEdit = 1075,
    kUsbManufNameEdit = 1076,
    kUsbProductIdEdit = 1077,
    kUsbModelNameEdit = 1078,

    // 103 and 104: interrupt detection and removal (104 has no sequence controls).
    kSequenceCombo = 1210,
    kAddSequenceButton = 1211,
    kRemoveSequenceButton = 1212,
    kStepList = 1213,
    kAddBeforeButton = 1214,
    kAddAfterButton = 1215,
    kEditStepButton = 1216,
    kRemoveStepButton = 1217,

    // 105: output files.
    kPrefixLabel = 1038,
    kDirectoryLabel = 1039,
    kDirectoryEdit = 1003,
    kPrefixEdit = 1004,
    kBrowseButton = 1012,
    kFileListText = 1028,
    kNoteText = 1079,
    kHazardText = 1222,    // what INF readers will misread; shown only when there is something
    kPackageCheck = 1223,  // also write a signed driver package

    // 111: installation options, in the order of the choices.
    kInstallChoice = 1092,
    kFtpChoice = 1093,
    kOpenFolderChoice = 1094,
    kNothingChoice = 1095,

    // 108: FTP transfer.
    kHostNameEdit = 1050,
    kUserNameEdit = 1097,
    kPasswordEdit = 1098,
    kLocalFileEdit = 1099,
    kRemoteFileEdit = 1100,

    // 106: step editor.
    kAccessCombo = 1230,
    kWidthCombo = 1231,
    kSpaceCombo = 1232,
    kOffsetEdit = 1233,
    kMaskEdit = 1234,
    kValueEdit = 1235,

    // 129: function chooser.
    kFunctionCombo = 1240,

    // 140: attached devices.
    kFilterEdit = 1250,
    kDeviceList = 1251,
    kEmptyText = 1253,  // said in the list's place when it has no row
    kShowAllCheck = 1252,

    // 141: folder browser.
    kStatusText = 1280,
};

// How the bytes of a control's text are to be read.
enum class TextEncoding {
    Latin1,  // values: fields, labels, lists (Windows' Western ANSI code page)
    Path,    // the file system's encoding: UTF-8 on POSIX, the ANSI code page on Windows
    Utf8,    // what the system reports: the attached devices' names
};

// The name of a control: its objectName in the Qt view and the anchor of its section in the
// dialog's help page. nullopt for a control the dialog does not have.
std::optional<std::string_view> ControlName(int dialog, ControlId control);

// The control a name stands for in the dialog, the reverse of ControlName.
std::optional<ControlId> ControlNamed(int dialog, std::string_view name);

TextEncoding ControlEncoding(int dialog, ControlId control);

// A control the presenters name, with the page or dialog it belongs to.
struct DialogControl {
    int dialog;
    ControlId control;
};

// Every named control of every page and dialog: what a view's templates must provide.
std::vector<DialogControl> NamedControls();

// The help page of a page or dialog in resources/help/ ("page110.html").
std::string_view HelpPageOf(int dialog);

}  // namespace tessaly
