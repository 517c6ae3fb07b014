#pragma once

// Numbers of the view's templates and controls for the resource script, which cannot read
// wizard/ControlIds.h: every control the presenters name has the number that header gives it
// (the view's tests compare each template with it). Controls of the view's own (the hazard
// icon, the help window) are numbered from 1900 up.

// Pages and dialogs.
#define IDD_PAGE_WELCOME 102
#define IDD_PAGE_IS_MINE 103
#define IDD_PAGE_SQUELCH 104
#define IDD_PAGE_FINAL 105
#define IDD_STEP_EDITOR 106
#define IDD_PAGE_USE_FTP 108
#define IDD_PAGE_WELCOME_USB 109
#define IDD_PAGE_WELCOME_PXI 110
#define IDD_PAGE_AFTER_SAVE_ACTION 111
#define IDD_FUNCTION_SELECT 129
#define IDD_ATTACHED_DEVICES 140
#define IDD_HELP 141

#define IDI_WIZARD 113

// Page 1.
#define IDC_PXI_RADIO 1057
#define IDC_USB_RADIO 1058

// Page 2.
#define IDC_MANUF_CODE 1000
#define IDC_MODEL_CODE 1001
#define IDC_GENERATES_INTERRUPTS 1002
#define IDC_MODEL_NAME 1003
#define IDC_MANUF_NAME 1004
#define IDC_SUBSYSTEM_MANUF_CODE 1005
#define IDC_SUBSYSTEM_MODEL_CODE 1006
#define IDC_USES_SUBSYSTEM 1007
#define IDC_VIEW_LOADED_SETTINGS 1085
#define IDC_LOAD_MODULE_FILE 1096
#define IDC_SUBSYSTEM_MANUF_CODE_LABEL 1201
#define IDC_SUBSYSTEM_MODEL_CODE_LABEL 1202
#define IDC_PICK_DEVICE 1203

// Page 3.
#define IDC_COMPOUND_DEVICE 1062
#define IDC_INTERFACE_COUNT 1063
#define IDC_USB_VENDOR_ID 1075
#define IDC_USB_MANUF_NAME 1076
#define IDC_USB_PRODUCT_ID 1077
#define IDC_USB_MODEL_NAME 1078

// Pages 4 and 5.
#define IDC_SEQUENCE_LIST 1210
#define IDC_ADD_SEQUENCE 1211
#define IDC_REMOVE_SEQUENCE 1212
#define IDC_STEP_LIST 1213
#define IDC_ADD_BEFORE 1214
#define IDC_ADD_AFTER 1215
#define IDC_EDIT_STEP 1216
#define IDC_REMOVE_STEP 1217

// Page 6.
#define IDC_DIRECTORY 1003
#define IDC_PREFIX 1004
#define IDC_BROWSE 1012
#define IDC_FILE_LIST 1028
#define IDC_PREFIX_LABEL 1038
#define IDC_DIRECTORY_LABEL 1039
#define IDC_NOTE_TEXT 1079
#define IDC_HAZARD_TEXT 1222
#define IDC_PACKAGE_CHECK 1223
// Shown and hidden with the hazard text.
#define IDC_HAZARD_ICON 1901
#define IDC_HAZARD_HEADING 1902

// Page 7.
#define IDC_INSTALL_CHOICE 1092
#define IDC_FTP_CHOICE 1093
#define IDC_OPEN_FOLDER_CHOICE 1094
#define IDC_NOTHING_CHOICE 1095

// Page 8.
#define IDC_HOST_NAME 1050
#define IDC_USER_NAME 1097
#define IDC_PASSWORD 1098
#define IDC_LOCAL_FILE 1099
#define IDC_REMOTE_FILE 1100

// Step editor.
#define IDC_ACCESS_COMBO 1230
#define IDC_WIDTH_COMBO 1231
#define IDC_SPACE_COMBO 1232
#define IDC_OFFSET_EDIT 1233
#define IDC_MASK_EDIT 1234
#define IDC_VALUE_EDIT 1235

// Function chooser.
#define IDC_FUNCTION_COMBO 1240

// Attached-device picker.
#define IDC_DEVICE_FILTER 1250
#define IDC_DEVICE_LIST 1251
#define IDC_SHOW_ALL_DEVICES 1252
#define IDC_DEVICE_LIST_NOTE 1253

// Help window.
#define IDC_HELP_TOPICS 1910
#define IDC_HELP_TEXT 1911
