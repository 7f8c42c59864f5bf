#pragma once

// The dialog templates of every window, as data: texts, positions and sizes
// in dialog units, styles. DialogBuilder places them. Header-only, so a
// window in any folder builds itself from its table without linking app/.

#include "app/Resource.h"
#include "platform/widgets/DialogTemplate.h"

namespace dialogtemplates {

using K = ControlKind;
using namespace dlgstyle;

inline constexpr unsigned kPage = Child;
inline constexpr unsigned kModal = Popup | Caption | SysMenu | ModalFrame;

// 100: the about box.
inline constexpr DialogItem kAboutItems[] = {
    {IDC_ABOUT_LINE, K::Frame, u"", 0, 61, 217, 1, EtchedFrame},
    {IDC_STATIC, K::Label, u"Foliant 3.0", 11, 67, 66, 8},
    {IDC_STATIC, K::Label, u"Website :", 11, 85, 30, 8},
    {IDC_WEBSITE_LINK, K::Label, u"", 45, 85, 105, 8, Notify}, // the about box sets the address
    {IDC_NOTICE, K::Edit, u"", 10, 99, 198, 44, MultiLine | Border},
    {IDOK, K::PushButton, u"OK", 158, 151, 50, 14, DefaultButton | TabStop},
};
inline constexpr DialogTemplate kAboutTemplate{
    IDD_ABOUTBOX, u"About Foliant 3.0", 218, 172, u"Microsoft Sans Serif", 9, kModal, kAboutItems};

// 102: the main window.
inline constexpr DialogItem kMainItems[] = {
    {IDC_HEADER_LINE, K::Frame, u"", 0, 41, 425, 1, EtchedFrame},
    {IDC_HOST, K::Static, u"", 0, 43, 425, 420},
    {IDC_WEBSITE_BUTTON, K::PushButton, u"Website", 189, 6, 40, 34, TabStop},
    {IDC_HELP_BUTTON, K::PushButton, u"Help", 248, 6, 40, 34, TabStop},
    {IDC_ABOUT_BUTTON, K::PushButton, u"About", 307, 6, 40, 34, TabStop},
};
inline constexpr DialogTemplate kMainTemplate{IDD_FOLIANT_DIALOG,
                                              u"Foliant 3.0",
                                              425,
                                              463,
                                              u"MS Shell Dlg",
                                              8,
                                              kModal | Visible | MinimizeBox | AppWindow,
                                              kMainItems};

// 130: the conversion page.
inline constexpr DialogItem kConvertItems[] = {
    {IDC_HEADING, K::Label, u"Convert File(s) to PDF", 7, 4, 171, 10},
    {IDC_STATIC, K::Label, u"You can add more than one file at a time for conversion", 7, 15, 237, 10},
    {IDC_FILE_LIST, K::ListBox, u"", 7, 25, 297, 64,
     Sorted | ExtendedSel | Notify | NoIntegralHeight | VScroll | DisableNoScroll | Border | AcceptFiles |
         TabStop},
    {IDC_ADD_FILES, K::PushButton, u"Add File(s)", 315, 25, 63, 14, TabStop},
    {IDC_REMOVE, K::PushButton, u"Remove", 315, 45, 63, 14, TabStop},
    {IDC_REMOVE_ALL, K::PushButton, u"Remove All", 315, 65, 63, 14, TabStop},
    {IDC_STATIC, K::GroupBox, u"Save File(s) to:", 7, 100, 400, 44},
    {IDC_STATIC, K::Label, u"Select destination folder for the output file(s).", 23, 114, 193, 8},
    {IDC_OUTPUT_FOLDER, K::Edit, u"", 23, 124, 256, 14, Border | AutoHScroll | TabStop},
    {IDC_BROWSE, K::PushButton, u"Browse", 288, 124, 63, 14, TabStop},
    // Where the output is chosen, so the choice of one PDF or one per file is
    // made with the folder, and seen with the options collapsed.
    {IDC_COMBINE_FILES, K::CheckBox, u"Combine into one PDF", 288, 111, 110, 10, TabStop},
    {IDC_STATUS_LABEL, K::Label, u"Status", 7, 156, 88, 10},
    {IDC_STATUS, K::Edit, u"", 7, 167, 200, 12, AutoHScroll},
    {IDC_PROGRESS, K::Static, u"", 7, 180, 311, 15},
    {IDC_CONVERT, K::PushButton, u"Convert", 334, 181, 63, 14, TabStop},
    {IDC_SHOW_ADVANCED, K::CheckBox, u"", 8, 203, 8, 8, TabStop},
    {IDC_STATIC, K::Label, u"Display Advanced Options.", 20, 203, 100, 8},
    {IDC_SEPARATOR, K::Frame, u"", 5, 222, 402, 1, BlackFrame | StaticEdge},
    // A row taller than the design's 145 (and the page and window with it):
    // the Advanced page's text recognition.
    {IDC_OPTIONS_GROUP, K::GroupBox, u"Advanced Options:", 7, 232, 400, 166},
    {IDC_OPTIONS_TAB, K::TabControl, u"", 13, 250, 389, 120, MultiLineTabs | TabStop},
};
inline constexpr DialogTemplate kConvertTemplate{
    IDD_CONVERT, u"", 442, 415, u"MS Shell Dlg", 8, kPage | StaticEdge, kConvertItems};

// 133: the Security page.
inline constexpr DialogItem kSecurityItems[] = {
    {IDC_ENABLE_SECURITY, K::CheckBox, u"Enable PDF Security", 4, 5, 100, 10, TabStop},
    {IDC_ENABLE_USER_PASSWORD, K::CheckBox, u"Enable User Password", 18, 21, 100, 10, TabStop},
    {IDC_USER_PASSWORD, K::Edit, u"", 18, 34, 100, 14, Password | AutoHScroll | Border | TabStop},
    {IDC_ENABLE_OWNER_PASSWORD, K::CheckBox, u"Enable Owner Password", 18, 58, 100, 10, TabStop},
    {IDC_OWNER_PASSWORD, K::Edit, u"", 18, 70, 100, 14, Password | AutoHScroll | Border | TabStop},
    // The Encryption Level group holds four choices: the two groups stand a
    // little to the left, so the longest choice fits inside the page, and the
    // Allowed Actions group is wide enough for its longest choice.
    {IDC_ALLOWED_ACTIONS, K::GroupBox, u"Allowed Actions", 123, 2, 147, 88},
    {IDC_COPYING, K::CheckBox, u"Content Copying or Extraction", 131, 20, 136, 10, TabStop},
    {IDC_FORMS, K::CheckBox, u"Form Filling,Signing,Commenting", 131, 36, 136, 10, TabStop},
    {IDC_CHANGING, K::CheckBox, u"Changing the Document", 131, 52, 136, 10, TabStop},
    {IDC_PRINTING, K::CheckBox, u"Printing", 131, 68, 136, 10, TabStop},
    {IDC_ENCRYPTION_LEVEL, K::GroupBox, u"Encryption Level", 275, 1, 106, 89},
    {IDC_LOW_ENCRYPTION, K::RadioButton, u"Low(40-bit RC4)", 282, 18, 96, 10, Group | TabStop},
    {IDC_HIGH_ENCRYPTION, K::RadioButton, u"High(128-bit RC4)", 282, 36, 96, 10},
    {IDC_AES128_ENCRYPTION, K::RadioButton, u"Strong(128-bit AES)", 282, 54, 96, 10},
    {IDC_AES256_ENCRYPTION, K::RadioButton, u"Strongest(256-bit AES)", 282, 72, 96, 10},
};
inline constexpr DialogTemplate kSecurityTemplate{IDD_SECURITY,    u"", 415,   152,
                                                  u"MS Shell Dlg", 8,   kPage, kSecurityItems};

// 134: the Advanced page. A combo's height is that of its dropped list.
inline constexpr unsigned kDropList = VScroll | TabStop;
inline constexpr DialogItem kAdvancedItems[] = {
    // The left column's labels are as wide as "Document Compression" needs
    // with the interface fonts here, its lists a little to the right.
    {IDC_STATIC, K::Label, u"Page Layout", 10, 13, 86, 8},
    {IDC_PAGE_LAYOUT, K::ComboBox, u"", 98, 10, 86, 60, kDropList | Sorted},
    {IDC_STATIC, K::Label, u"Page Mode", 10, 34, 86, 8},
    {IDC_PAGE_MODE, K::ComboBox, u"", 98, 31, 86, 60, kDropList | Sorted},
    {IDC_STATIC, K::Label, u"Document Compression", 10, 55, 86, 8},
    {IDC_DOCUMENT_COMPRESSION, K::ComboBox, u"", 98, 52, 86, 60, kDropList | Sorted},
    {IDC_STATIC, K::Label, u"Images Compression", 197, 13, 87, 8},
    {IDC_IMAGES_COMPRESSION, K::ComboBox, u"", 286, 10, 86, 60, kDropList},
    {IDC_STATIC, K::Label, u"JPEG Quality", 197, 34, 87, 8},
    {IDC_JPEG_QUALITY, K::ComboBox, u"", 286, 31, 86, 80, kDropList},
    {IDC_STATIC, K::Label, u"PDF Version", 197, 55, 87, 8},
    {IDC_PDF_VERSION, K::ComboBox, u"", 286, 52, 86, 60, kDropList},
    {IDC_ALTERNATE_EMF, K::CheckBox, u"", 286, 76, 10, 10, TabStop},
    {IDC_STATIC, K::Label, u"Alternate EMF Rendering", 197, 75, 87, 8},
    // The row left free beside "Alternate EMF Rendering": the box carries its
    // own text, as the output choice beside the folder does.
    {IDC_TAGGED_PDF, K::CheckBox, u"Tagged PDF (accessible, PDF/UA)", 10, 76, 170, 10, TabStop},
    // A row of its own below: the choice on the left, its languages in the
    // right column, as the rows above.
    {IDC_RECOGNIZE_TEXT, K::CheckBox, u"Recognize text in pictures (OCR)", 10, 97, 170, 10, TabStop},
    {IDC_STATIC, K::Label, u"OCR Languages", 197, 97, 87, 8},
    {IDC_OCR_LANGUAGES, K::ComboBox, u"", 286, 94, 86, 60, kDropList},
};
inline constexpr DialogTemplate kAdvancedTemplate{IDD_ADVANCED,    u"", 415,   162,
                                                  u"MS Shell Dlg", 8,   kPage, kAdvancedItems};

// 135: the Description page.
inline constexpr DialogItem kDescriptionItems[] = {
    {IDC_STATIC, K::Label, u"Title", 19, 7, 20, 8},
    {IDC_TITLE, K::Edit, u"", 41, 7, 102, 14, Border | AutoHScroll | TabStop},
    {IDC_STATIC, K::Label, u"Subject", 6, 37, 33, 8},
    {IDC_SUBJECT, K::Edit, u"", 41, 37, 102, 14, Border | AutoHScroll | TabStop},
    {IDC_STATIC, K::Label, u"Author", 10, 67, 29, 8},
    {IDC_AUTHOR, K::Edit, u"", 41, 67, 102, 14, Border | AutoHScroll | TabStop},
    {IDC_STATIC, K::Label, u"Keywords", 160, 7, 38, 8},
    {IDC_KEYWORDS, K::Edit, u"", 200, 7, 174, 74, MultiLine | VScroll | WantReturn | Border | TabStop},
};
inline constexpr DialogTemplate kDescriptionTemplate{IDD_DESCRIPTION, u"", 420,   141,
                                                     u"MS Shell Dlg", 8,   kPage, kDescriptionItems};

// 136: the completion dialog.
inline constexpr DialogItem kFinishItems[] = {
    {IDC_OPEN_FOLDER, K::PushButton, u"Open Folder", 110, 88, 58, 14, DefaultButton | TabStop},
    {IDC_RESULT_LIST, K::ListBox, u"", 13, 28, 221, 52,
     Sorted | Notify | NoIntegralHeight | VScroll | Border | TabStop},
    {IDCANCEL, K::PushButton, u"Close", 177, 88, 58, 14, TabStop},
    {IDC_FINISH_MESSAGE, K::Label, u"", 47, 10, 173, 8}, // set to "Conversion Completes!" when shown
    {IDC_OPEN_FILE, K::PushButton, u"Open File", 43, 88, 58, 14, TabStop},
    {IDC_STATIC, K::Picture, u"", 14, 4, 45, 35, None, IDB_FINISH},
};
inline constexpr DialogTemplate kFinishTemplate{IDD_FINISH, u"Foliant 3.0", 248,         107, u"MS Shell Dlg",
                                                8,          kModal,         kFinishItems};

// 160: the password prompt. The field comes first, so it is the first tab stop.
inline constexpr DialogItem kPasswordItems[] = {
    {IDC_PASSWORD, K::Edit, u"", 68, 36, 202, 14, Border | TabStop | Password | AutoHScroll},
    {IDOK, K::PushButton, u"OK", 92, 58, 50, 14, DefaultButton | TabStop},
    {IDCANCEL, K::PushButton, u"Cancel", 187, 58, 50, 14, TabStop},
    {IDC_STATIC, K::Label, u"Enter Password:", 8, 38, 58, 8, Group},
    {IDC_PASSWORD_MESSAGE, K::Label, u"Static", 13, 8, 308, 21, Group},
};
inline constexpr DialogTemplate kPasswordTemplate{
    IDD_ENTER_PASSWORD, u"Password Required!", 329, 83, u"MS Shell Dlg", 8, kModal, kPasswordItems};

} // namespace dialogtemplates

// The template of a dialog ID; null for an unknown one.
constexpr const DialogTemplate* FindDialogTemplate(int id)
{
    using namespace dialogtemplates;
    for (const DialogTemplate* t :
         {&kAboutTemplate, &kMainTemplate, &kConvertTemplate, &kSecurityTemplate, &kAdvancedTemplate,
          &kDescriptionTemplate, &kFinishTemplate, &kPasswordTemplate})
        if (t->id == id)
            return t;
    return nullptr;
}
