#pragma once

#include "platform/widgets/DialogTemplate.h"
#include "platform/widgets/DialogUnits.h"

#include <QWidget>

#include <functional>

// Creates a widget of the owner's own class for a template row (the way a
// dialog class subclasses a control), or returns null for the standard one.
using ControlFactory = std::function<QWidget*(const DialogItem& item, QWidget* parent)>;

// Places the controls of a dialog template as direct children of a widget, in
// template order (which is also the tab order), converting dialog units with
// the template font's base units. Every control carries its ID: its
// objectName is the number, and GetDlgItem finds it.
class DialogBuilder
{
public:
    // Sets the dialog's font, size and (for a popup) caption, then creates
    // the controls. Returns the units used, for the owner's own placements.
    static DialogUnits Build(const DialogTemplate& dialogTemplate, QWidget* dialog,
                             const ControlFactory& factory = {});
};

// The direct child of dialog with that control ID, or null. Like Windows it
// looks at direct children only, so pages with their own numbers inside a
// dialog do not answer for the dialog's controls.
QWidget* GetDlgItem(const QWidget* dialog, int id);

template <class T> T* DlgItem(const QWidget* dialog, int id)
{
    return qobject_cast<T*>(GetDlgItem(dialog, id));
}

// The control ID a widget was built with; 0 when it was not built from a template.
int GetDlgCtrlID(const QWidget* control);

// The ID of the template a dialog was built from; 0 when none.
int GetDialogId(const QWidget* dialog);

// The radio group that starts at firstId: the index of the checked button
// (-1 when none is checked), and checking the button of an index.
int GetRadioGroupValue(const QWidget* dialog, int firstId);
void SetRadioGroupValue(const QWidget* dialog, int firstId, int value);
