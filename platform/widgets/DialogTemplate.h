#pragma once

#include <QStringView>

#include <span>

// A dialog template as data: the dialog's size, caption, font and styles, and
// one row per control with its ID, kind, text and rectangle in dialog units.
// DialogBuilder turns a template into Qt widgets.

enum class ControlKind {
    Label,       // static text, left-aligned, wraps inside its rectangle
    Static,      // plain static without text (a host area, a bitmap-painted control)
    Frame,       // static drawn as a line or box: style EtchedFrame or BlackFrame
    Picture,     // static that shows bitmap `image`
    PushButton,  // push button; style DefaultButton makes it the default one
    CheckBox,    // automatic check box
    RadioButton, // automatic radio button; style Group starts a new group
    GroupBox,
    Edit,     // single-line edit unless style MultiLine
    ComboBox, // drop-down list (not editable)
    ListBox,
    TabControl,
};

// Style bits, one set for dialogs and controls alike.
namespace dlgstyle {
enum : unsigned {
    None = 0,
    // Any control.
    TabStop = 1u << 0,
    Group = 1u << 1,
    Disabled = 1u << 2,
    Border = 1u << 3,
    StaticEdge = 1u << 4,
    VScroll = 1u << 5,
    // Buttons.
    DefaultButton = 1u << 6,
    // Edits.
    Password = 1u << 7,
    AutoHScroll = 1u << 8,
    MultiLine = 1u << 9,
    WantReturn = 1u << 10,
    ReadOnly = 1u << 11,
    // List and combo boxes.
    Sorted = 1u << 12,
    ExtendedSel = 1u << 13,
    Notify = 1u << 14,
    NoIntegralHeight = 1u << 15,
    DisableNoScroll = 1u << 16, // the vertical scroll bar is always shown
    AcceptFiles = 1u << 17,
    // Statics.
    EtchedFrame = 1u << 18,
    BlackFrame = 1u << 19,
    // Dialogs.
    Child = 1u << 20,
    Popup = 1u << 21,
    Caption = 1u << 22,
    SysMenu = 1u << 23,
    MinimizeBox = 1u << 24,
    ModalFrame = 1u << 25,
    Visible = 1u << 26,
    AppWindow = 1u << 27,
    MultiLineTabs = 1u << 28,
};
} // namespace dlgstyle

struct DialogItem
{
    int id;
    ControlKind kind;
    QStringView text;
    int x, y, w, h; // dialog units; for a combo box h is the height of the dropped list
    unsigned styles = dlgstyle::None;
    int image = 0; // bitmap resource of a Picture
};

struct DialogTemplate
{
    int id;
    QStringView caption;
    int w, h;             // dialog units
    QStringView fontFace; // as the template names it
    int pointSize;
    unsigned styles;
    std::span<const DialogItem> items;
};
