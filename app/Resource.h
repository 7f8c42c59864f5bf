#pragma once

// The program's resource and control identifiers, with the numbers the dialog
// templates, bitmaps, icons and strings have always had. Header-only
// constants: windows in every folder use them without linking anything of
// app/.
//
// Several dialogs reuse the same control numbers (1005 is a check box on the
// Security page and nothing on the conversion page); a number is only ever
// looked up among the children of one dialog.

#include "platform/DialogCommandIds.h"

// Standard identifiers (IDOK, IDCANCEL, ... come with the command IDs).
inline constexpr int IDC_STATIC = -1;

// Dialog templates.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_FOLIANT_DIALOG = 102;
inline constexpr int IDD_CONVERT = 130;
inline constexpr int IDD_SECURITY = 133;
inline constexpr int IDD_ADVANCED = 134;
inline constexpr int IDD_DESCRIPTION = 135;
inline constexpr int IDD_FINISH = 136;
inline constexpr int IDD_ENTER_PASSWORD = 160;

// Icons.
inline constexpr int IDR_MAINFRAME = 128; // the application icon
inline constexpr int IDI_ABOUT = 131;
inline constexpr int IDI_HELP = 133;
inline constexpr int IDI_WEBSITE = 146;

// Bitmaps.
inline constexpr int IDB_HEADER = 2;
inline constexpr int IDB_PROGRESS_BACK = 137;
inline constexpr int IDB_PROGRESS_FORE = 138;
inline constexpr int IDB_FINISH = 139;
inline constexpr int IDB_ABOUT_HEADER = 140;

// Strings and menu commands.
inline constexpr int IDS_ABOUTBOX = 101; // "&About Foliant..."
inline constexpr int IDM_ABOUTBOX = 16;

// Main window (102).
inline constexpr int IDC_HEADER_LINE = 1000;
inline constexpr int IDC_HOST = 1001;
inline constexpr int IDC_HELP_BUTTON = 1022;
inline constexpr int IDC_ABOUT_BUTTON = 1023;
inline constexpr int IDC_WEBSITE_BUTTON = 1025;

// About box (100).
inline constexpr int IDC_NOTICE = 1028;
inline constexpr int IDC_WEBSITE_LINK = 1029;
inline constexpr int IDC_ABOUT_LINE = 1030;

// Conversion page (130).
inline constexpr int IDC_SHOW_ADVANCED = 1001;
inline constexpr int IDC_HEADING = 1003;
inline constexpr int IDC_STATUS_LABEL = 1004;
inline constexpr int IDC_OPTIONS_TAB = 1006;
inline constexpr int IDC_FILE_LIST = 1008;
inline constexpr int IDC_ADD_FILES = 1009;
inline constexpr int IDC_REMOVE = 1010;
inline constexpr int IDC_REMOVE_ALL = 1011;
inline constexpr int IDC_OPTIONS_GROUP = 1012;
inline constexpr int IDC_OUTPUT_FOLDER = 1017;
inline constexpr int IDC_BROWSE = 1018;
inline constexpr int IDC_CONVERT = 1019;
inline constexpr int IDC_SEPARATOR = 1022;
inline constexpr int IDC_STATUS = 1023;
inline constexpr int IDC_PROGRESS = 1027;
inline constexpr int IDC_COMBINE_FILES = 1031;

// Security page (133).
inline constexpr int IDC_ENABLE_SECURITY = 1005;
inline constexpr int IDC_ENABLE_USER_PASSWORD = 1006;
inline constexpr int IDC_ENABLE_OWNER_PASSWORD = 1007;
inline constexpr int IDC_COPYING = 1008;
inline constexpr int IDC_FORMS = 1009;
inline constexpr int IDC_CHANGING = 1010;
inline constexpr int IDC_PRINTING = 1011;
inline constexpr int IDC_LOW_ENCRYPTION = 1012;
inline constexpr int IDC_HIGH_ENCRYPTION = 1013;
inline constexpr int IDC_USER_PASSWORD = 1015;
inline constexpr int IDC_AES128_ENCRYPTION = 1016;
inline constexpr int IDC_AES256_ENCRYPTION = 1017;
inline constexpr int IDC_ALLOWED_ACTIONS = 1021;
inline constexpr int IDC_OWNER_PASSWORD = 1022;
inline constexpr int IDC_ENCRYPTION_LEVEL = 1023;

// Advanced page (134).
inline constexpr int IDC_JPEG_QUALITY = 1024;
inline constexpr int IDC_PDF_VERSION = 1025;
inline constexpr int IDC_PAGE_LAYOUT = 1026;
inline constexpr int IDC_PAGE_MODE = 1027;
inline constexpr int IDC_DOCUMENT_COMPRESSION = 1028;
inline constexpr int IDC_IMAGES_COMPRESSION = 1029;
inline constexpr int IDC_ALTERNATE_EMF = 1030;
inline constexpr int IDC_TAGGED_PDF = 1032;
inline constexpr int IDC_RECOGNIZE_TEXT = 1033;
inline constexpr int IDC_OCR_LANGUAGES = 1034;

// Description page (135).
inline constexpr int IDC_TITLE = 1021;
inline constexpr int IDC_SUBJECT = 1023;
inline constexpr int IDC_KEYWORDS = 1024;
inline constexpr int IDC_AUTHOR = 1026;

// Completion dialog (136).
inline constexpr int IDC_RESULT_LIST = 1024;
inline constexpr int IDC_OPEN_FILE = 1025;
inline constexpr int IDC_OPEN_FOLDER = 1026;
inline constexpr int IDC_FINISH_MESSAGE = 1027;

// Password prompt (160).
inline constexpr int IDC_PASSWORD = 1014;
inline constexpr int IDC_PASSWORD_MESSAGE = 1030;
