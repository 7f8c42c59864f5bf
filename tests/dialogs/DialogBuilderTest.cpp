#include "platform/widgets/DialogBuilder.h"
#include "app/DialogTemplates.h"
#include "platform/widgets/AddString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

using namespace dialogtemplates;

TEST(DialogUnitsTest, ConvertsWithBaseUnitsAndRoundsLikeMulDiv)
{
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.X(4), 6);
    EXPECT_EQ(units.X(7), 11); // 10.5 rounds up
    EXPECT_EQ(units.Y(8), 13);
    EXPECT_EQ(units.Y(14), 23); // 22.75
    EXPECT_EQ(units.Y(-8), -13);
    EXPECT_EQ(units.Map(18, 34, 100, 14), QRect(27, 55, 150, 23));

    // From a real font: the base units follow its size.
    QFont small = DialogUnits::DialogFont(u"MS Shell Dlg", 8);
    QFont large = DialogUnits::DialogFont(u"MS Shell Dlg", 16);
    EXPECT_EQ(small.pointSize(), 8);
    EXPECT_LT(DialogUnits(small).BaseX(), DialogUnits(large).BaseX());
    EXPECT_LT(DialogUnits(small).BaseY(), DialogUnits(large).BaseY());
}

TEST(DialogBuilderTest, PlacesEveryControlWithItsIdKindTextAndRectangle)
{
    QWidget page;
    const DialogUnits units = DialogBuilder::Build(kSecurityTemplate, &page);
    EXPECT_EQ(GetDialogId(&page), IDD_SECURITY);
    EXPECT_EQ(page.size(), QSize(units.X(415), units.Y(152)));

    for (const DialogItem& item : kSecurityTemplate.items) {
        QWidget* control = GetDlgItem(&page, item.id);
        ASSERT_NE(control, nullptr) << item.id;
        EXPECT_EQ(control->objectName(), QString::number(item.id));
        EXPECT_EQ(GetDlgCtrlID(control), item.id);
        EXPECT_EQ(control->geometry(), units.Map(item.x, item.y, item.w, item.h)) << item.id;
    }
    auto* enable = DlgItem<QCheckBox>(&page, IDC_ENABLE_SECURITY);
    ASSERT_NE(enable, nullptr);
    EXPECT_EQ(enable->text(), "Enable PDF Security");
    EXPECT_EQ(DlgItem<QGroupBox>(&page, IDC_ALLOWED_ACTIONS)->title(), "Allowed Actions");
    EXPECT_EQ(DlgItem<QRadioButton>(&page, IDC_HIGH_ENCRYPTION)->text(), "High(128-bit RC4)");
    auto* password = DlgItem<QLineEdit>(&page, IDC_USER_PASSWORD);
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);

    // Tab order is template order.
    EXPECT_EQ(enable->nextInFocusChain(), GetDlgItem(&page, IDC_ENABLE_USER_PASSWORD));
}

TEST(DialogBuilderTest, PopupDialogsGetCaptionAndFixedSize)
{
    QWidget dialog;
    const DialogUnits units = DialogBuilder::Build(kPasswordTemplate, &dialog);
    EXPECT_EQ(dialog.windowTitle(), "Password Required!");
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.size(), QSize(units.X(329), units.Y(83)));
    auto* ok = DlgItem<QPushButton>(&dialog, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(DlgItem<QPushButton>(&dialog, IDCANCEL)->isDefault());
    EXPECT_EQ(DlgItem<QLabel>(&dialog, IDC_PASSWORD_MESSAGE)->text(), "Static");
    // Labels show text as written, never as markup.
    EXPECT_EQ(DlgItem<QLabel>(&dialog, IDC_PASSWORD_MESSAGE)->textFormat(), Qt::PlainText);
}

TEST(DialogBuilderTest, LookupSeesDirectChildrenOnlyAndFactoryCreatesOwnClasses)
{
    // A page inside a dialog has its own 1006; the dialog's 1006 is the tab control.
    QWidget dialog;
    DialogBuilder::Build(kConvertTemplate, &dialog, [](const DialogItem& item, QWidget* parent) -> QWidget* {
        return item.id == IDC_OPTIONS_TAB ? new QWidget(parent) : nullptr;
    });
    QWidget* tab = GetDlgItem(&dialog, IDC_OPTIONS_TAB);
    ASSERT_NE(tab, nullptr);
    EXPECT_STREQ(tab->metaObject()->className(), "QWidget");
    auto* page = new QWidget(tab);
    DialogBuilder::Build(kSecurityTemplate, page);
    EXPECT_EQ(GetDlgItem(&dialog, IDC_ENABLE_USER_PASSWORD), tab);
    EXPECT_TRUE(qobject_cast<QCheckBox*>(GetDlgItem(page, IDC_ENABLE_USER_PASSWORD)));
    EXPECT_EQ(GetDlgItem(&dialog, 4242), nullptr);

    auto* list = DlgItem<QListWidget>(&dialog, IDC_FILE_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(list->acceptDrops());
}

TEST(DialogBuilderTest, RadioGroupsAreExclusiveAndReadByIndex)
{
    QWidget page;
    DialogBuilder::Build(kSecurityTemplate, &page);
    page.show();
    EXPECT_EQ(GetRadioGroupValue(&page, IDC_LOW_ENCRYPTION), -1);
    SetRadioGroupValue(&page, IDC_LOW_ENCRYPTION, 0);
    EXPECT_TRUE(DlgItem<QRadioButton>(&page, IDC_LOW_ENCRYPTION)->isChecked());
    QTest::mouseClick(DlgItem<QRadioButton>(&page, IDC_HIGH_ENCRYPTION), Qt::LeftButton);
    EXPECT_EQ(GetRadioGroupValue(&page, IDC_LOW_ENCRYPTION), 1);
    EXPECT_FALSE(DlgItem<QRadioButton>(&page, IDC_LOW_ENCRYPTION)->isChecked());
    SetRadioGroupValue(&page, IDC_LOW_ENCRYPTION, -1);
    EXPECT_EQ(GetRadioGroupValue(&page, IDC_LOW_ENCRYPTION), -1);
}

TEST(DialogBuilderTest, AddStringSortsOnlySortedBoxes)
{
    QWidget page;
    DialogBuilder::Build(kAdvancedTemplate, &page);
    auto* sorted = DlgItem<QComboBox>(&page, IDC_DOCUMENT_COMPRESSION);
    auto* unsorted = DlgItem<QComboBox>(&page, IDC_JPEG_QUALITY);
    for (const char* text : {"LZW", "flate", "Automatic"}) {
        AddString(sorted, text);
        AddString(unsorted, text);
    }
    EXPECT_EQ(sorted->itemText(0), "Automatic");
    EXPECT_EQ(sorted->itemText(1), "flate");
    EXPECT_EQ(sorted->itemText(2), "LZW");
    EXPECT_EQ(unsorted->itemText(0), "LZW");
    EXPECT_EQ(unsorted->itemText(2), "Automatic");

    QListWidget list;
    list.setProperty("sorted", true);
    EXPECT_EQ(AddString(&list, "b.doc"), 0);
    EXPECT_EQ(AddString(&list, "A.doc"), 0);
    EXPECT_EQ(AddString(&list, "c.doc"), 2);
}

TEST(DialogTemplatesTest, EveryDialogIsFoundAndItsIdsAreUnique)
{
    for (int id : {IDD_ABOUTBOX, IDD_FOLIANT_DIALOG, IDD_CONVERT, IDD_SECURITY, IDD_ADVANCED, IDD_DESCRIPTION,
                   IDD_FINISH, IDD_ENTER_PASSWORD}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_NE(t, nullptr) << id;
        EXPECT_EQ(t->id, id);
        QSet<int> seen;
        for (const DialogItem& item : t->items) {
            if (item.id == IDC_STATIC)
                continue;
            EXPECT_FALSE(seen.contains(item.id)) << "dialog " << id << " repeats " << item.id;
            seen.insert(item.id);
        }
        // Every template builds.
        QWidget dialog;
        DialogBuilder::Build(*t, &dialog);
        EXPECT_EQ(dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), t->items.size());
    }
    EXPECT_EQ(FindDialogTemplate(101), nullptr);
}
