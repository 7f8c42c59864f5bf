#include "platform/widgets/DialogBuilder.h"

#include "platform/widgets/WholeRectButton.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <algorithm>

namespace {

const char kControlId[] = "controlId";
const char kDialogId[] = "dialogId";
const char kSorted[] = "sorted";

QWidget* CreateStandard(const DialogItem& item, QWidget* parent)
{
    const QString text = item.text.toString();
    switch (item.kind) {
    case ControlKind::Label:
    case ControlKind::Static:
    case ControlKind::Picture:
        return new QLabel(text, parent);
    case ControlKind::Frame:
        return new QFrame(parent);
    case ControlKind::PushButton:
        return new QPushButton(text, parent);
    case ControlKind::CheckBox:
        return new WholeRectButton<QCheckBox>(text, parent);
    case ControlKind::RadioButton:
        return new WholeRectButton<QRadioButton>(text, parent);
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::Edit:
        if (item.styles & dlgstyle::MultiLine)
            return new QPlainTextEdit(text, parent);
        return new QLineEdit(text, parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::TabControl:
        return new QTabBar(parent);
    }
    return new QWidget(parent);
}

// Applies what a template row says to a widget, whoever created it.
void ApplyStyles(QWidget* widget, const DialogItem& item)
{
    const unsigned s = item.styles;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setTextFormat(Qt::PlainText); // texts are shown as written, never as markup
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(item.kind == ControlKind::Label);
        if (item.kind == ControlKind::Picture)
            label->setProperty("imageId", item.image);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        // Enter presses the focused button; elsewhere only the template's
        // default button answers it.
        button->setAutoDefault(true);
        button->setDefault(s & dlgstyle::DefaultButton);
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setFrame(s & dlgstyle::Border);
        line->setReadOnly(s & dlgstyle::ReadOnly);
        if (s & dlgstyle::Password)
            line->setEchoMode(QLineEdit::Password);
        return;
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        if (!(s & dlgstyle::Border))
            edit->setFrameShape(QFrame::NoFrame);
        edit->setReadOnly(s & dlgstyle::ReadOnly);
        edit->setTabChangesFocus(true); // Tab moves on, as in every dialog
        edit->setVerticalScrollBarPolicy((s & dlgstyle::VScroll) ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
        edit->setLineWrapMode((s & dlgstyle::AutoHScroll) ? QPlainTextEdit::NoWrap
                                                          : QPlainTextEdit::WidgetWidth);
        return;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setProperty(kSorted, bool(s & dlgstyle::Sorted));
        return;
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        list->setProperty(kSorted, bool(s & dlgstyle::Sorted));
        list->setSelectionMode((s & dlgstyle::ExtendedSel) ? QAbstractItemView::ExtendedSelection
                                                           : QAbstractItemView::SingleSelection);
        list->setVerticalScrollBarPolicy((s & dlgstyle::DisableNoScroll) ? Qt::ScrollBarAlwaysOn
                                                                         : Qt::ScrollBarAsNeeded);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        if (!(s & dlgstyle::Border))
            list->setFrameShape(QFrame::NoFrame);
        list->setAcceptDrops(s & dlgstyle::AcceptFiles);
        return;
    }
    if (auto* frame = qobject_cast<QFrame*>(widget); frame && item.kind == ControlKind::Frame) {
        const bool line = item.w <= 2 || item.h <= 2;
        if (line)
            frame->setFrameShape(item.h <= 2 ? QFrame::HLine : QFrame::VLine);
        else
            frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow((s & dlgstyle::EtchedFrame) ? QFrame::Sunken : QFrame::Plain);
    }
}

QRect ItemGeometry(QWidget* widget, const DialogItem& item, const DialogUnits& units)
{
    QRect rect = units.Map(item.x, item.y, item.w, item.h);
    // A drop-down list's template height is that of its dropped list; closed
    // it is as high as the style draws it.
    if (item.kind == ControlKind::ComboBox)
        rect.setHeight(widget->sizeHint().height());
    // A line one unit high must stay visible.
    if (item.kind == ControlKind::Frame)
        rect.setHeight(std::max(rect.height(), 2));
    return rect;
}

bool IsInput(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::ComboBox || kind == ControlKind::ListBox;
}

bool HasText(const DialogItem& item)
{
    return !item.text.empty() && item.text != u"Static";
}

// The label that names the input at index: the text right before it in the
// template (a label, or a check box that switches it), else the nearest
// label on its row to its left. -1 when none.
int LabelOfInput(const DialogTemplate& t, size_t index)
{
    const DialogItem& input = t.items[index];
    if (index > 0) {
        const DialogItem& before = t.items[index - 1];
        if ((before.kind == ControlKind::Label || before.kind == ControlKind::CheckBox) && HasText(before))
            return int(index - 1);
    }
    int best = -1;
    for (size_t i = 0; i < t.items.size(); ++i) {
        const DialogItem& l = t.items[i];
        const bool sameRow = l.y < input.y + input.h && input.y < l.y + l.h;
        if (l.kind != ControlKind::Label || !HasText(l) || !sameRow || l.x + l.w > input.x + 2)
            continue;
        if (best < 0 || l.x > t.items[size_t(best)].x)
            best = int(i);
    }
    return best;
}

// Gives every input and every check box without text the name of its label,
// as a screen reader announces it; a label becomes its input's buddy.
void NameInputsByTheirLabels(const DialogTemplate& t, const QList<QWidget*>& widgets)
{
    for (size_t i = 0; i < t.items.size(); ++i) {
        const DialogItem& item = t.items[i];
        int label = -1;
        if (IsInput(item.kind))
            label = LabelOfInput(t, i);
        else if (item.kind == ControlKind::CheckBox && !HasText(item) && i + 1 < t.items.size() &&
                 t.items[i + 1].kind == ControlKind::Label)
            label = int(i + 1);
        if (label < 0 || !widgets[qsizetype(i)]->accessibleName().isEmpty())
            continue;
        QString name = t.items[size_t(label)].text.toString();
        name.remove(QLatin1Char('&'));
        widgets[qsizetype(i)]->setAccessibleName(name.trimmed());
        if (auto* labelWidget = qobject_cast<QLabel*>(widgets[qsizetype(label)]))
            labelWidget->setBuddy(widgets[qsizetype(i)]);
    }
}

} // namespace

DialogUnits DialogBuilder::Build(const DialogTemplate& dialogTemplate, QWidget* dialog,
                                 const ControlFactory& factory)
{
    const QFont font = DialogUnits::DialogFont(dialogTemplate.fontFace, dialogTemplate.pointSize);
    dialog->setFont(font);
    dialog->setObjectName(QString::number(dialogTemplate.id));
    dialog->setProperty(kDialogId, dialogTemplate.id);
    const DialogUnits units(font, dialog);

    const QSize size(units.X(dialogTemplate.w), units.Y(dialogTemplate.h));
    if (dialogTemplate.styles & dlgstyle::Popup) {
        dialog->setWindowTitle(dialogTemplate.caption.toString());
        if (dialogTemplate.styles & dlgstyle::ModalFrame)
            dialog->setFixedSize(size); // no sizing border
        else
            dialog->resize(size);
    } else {
        dialog->resize(size);
    }

    QButtonGroup* radioGroup = nullptr;
    QList<QWidget*> widgets;
    for (const DialogItem& item : dialogTemplate.items) {
        QWidget* widget = factory ? factory(item, dialog) : nullptr;
        if (!widget)
            widget = CreateStandard(item, dialog);
        if (widget->parentWidget() != dialog)
            widget->setParent(dialog);
        widget->setObjectName(QString::number(item.id));
        widget->setProperty(kControlId, item.id);
        ApplyStyles(widget, item);
        widget->setGeometry(ItemGeometry(widget, item, units));
        if (item.styles & dlgstyle::Disabled)
            widget->setEnabled(false);

        // Radio buttons belong together from one with the Group style up to
        // the next control with it.
        auto* radio = qobject_cast<QRadioButton*>(widget);
        if (!radio || (item.styles & dlgstyle::Group))
            radioGroup = nullptr;
        if (radio) {
            if (!radioGroup)
                radioGroup = new QButtonGroup(dialog);
            radio->setAutoExclusive(false);
            radioGroup->addButton(radio, radioGroup->buttons().size());
        }
        widget->show();
        widgets.append(widget);
    }
    NameInputsByTheirLabels(dialogTemplate, widgets);
    return units;
}

QWidget* GetDlgItem(const QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    const auto children = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        const QVariant value = child->property(kControlId);
        if (value.isValid() && value.toInt() == id)
            return child;
    }
    return nullptr;
}

int GetDlgCtrlID(const QWidget* control)
{
    return control ? control->property(kControlId).toInt() : 0;
}

int GetDialogId(const QWidget* dialog)
{
    return dialog ? dialog->property(kDialogId).toInt() : 0;
}

int GetRadioGroupValue(const QWidget* dialog, int firstId)
{
    const auto* first = DlgItem<QAbstractButton>(dialog, firstId);
    if (!first || !first->group())
        return -1;
    return first->group()->checkedId();
}

void SetRadioGroupValue(const QWidget* dialog, int firstId, int value)
{
    const auto* first = DlgItem<QAbstractButton>(dialog, firstId);
    if (!first || !first->group())
        return;
    QButtonGroup* group = first->group();
    if (QAbstractButton* button = group->button(value)) {
        button->setChecked(true);
        return;
    }
    // No button has that index: none stays checked.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}
