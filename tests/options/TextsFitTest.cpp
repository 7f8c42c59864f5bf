// Every text of every window fits its control with this system's interface
// font: no label wraps out of its rectangle, no box or button text is cut.
#include "app/DialogTemplates.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Why the control's text does not fit; empty when it does.
QString Cut(QWidget* widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const QRect place = widget->geometry();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        const QString text = label->text();
        if (text.isEmpty() || text == QLatin1String("Static"))
            return {};
        const QRect needed = metrics.boundingRect(QRect(0, 0, place.width(), 0),
                                                  Qt::TextWordWrap | Qt::AlignLeft, text);
        if (needed.width() > place.width() || needed.height() > place.height())
            return QStringLiteral("needs %1 x %2 (%3 on one line)")
                .arg(needed.width())
                .arg(needed.height())
                .arg(metrics.horizontalAdvance(text));
        return {};
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text().isEmpty())
            return {};
        int needed = 0;
        if (qobject_cast<QPushButton*>(button))
            needed = metrics.horizontalAdvance(button->text()) +
                     2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        else
            needed = button->sizeHint().width();
        return needed > place.width() ? QStringLiteral("needs %1").arg(needed) : QString();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        const int needed = metrics.horizontalAdvance(group->title());
        return needed > place.width() ? QStringLiteral("needs %1").arg(needed) : QString();
    }
    return {};
}

} // namespace

TEST(TextsFitTest, EveryTextOfEveryWindowFitsItsControl)
{
    using namespace dialogtemplates;
    int texts = 0;
    for (const DialogTemplate* t : {&kAboutTemplate, &kMainTemplate, &kConvertTemplate, &kSecurityTemplate,
                                    &kAdvancedTemplate, &kDescriptionTemplate, &kFinishTemplate,
                                    &kPasswordTemplate}) {
        QWidget dialog;
        DialogBuilder::Build(*t, &dialog, {});
        // The builder makes the controls in the template's order.
        const QList<QWidget*> controls = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(controls.size(), qsizetype(t->items.size()));
        for (size_t i = 0; i < t->items.size(); ++i) {
            if (t->items[i].text.empty())
                continue;
            ++texts;
            QWidget* control = controls[qsizetype(i)];
            const QString cut = Cut(control);
            EXPECT_TRUE(cut.isEmpty()) << "dialog " << t->id << ": \"" << t->items[i].text.toString().toStdString()
                                       << "\" is " << control->width() << " x " << control->height() << ", "
                                       << cut.toStdString();
        }
    }
    EXPECT_GT(texts, 50) << "every window's texts were looked at";
}
