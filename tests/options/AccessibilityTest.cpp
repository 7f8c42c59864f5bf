// The option pages and dialogs as a screen reader and a keyboard user meet
// them: names read from the labels, enabling that follows a box's state
// however it changed, Space and Enter on every button.
#include "app/DialogTemplates.h"
#include "options/CAdvancedDlg.h"
#include "options/CDescriptionDlg.h"
#include "options/CSecurityDlg.h"
#include "platform/widgets/DialogBuilder.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace dialogtemplates;

namespace {

// What a screen reader announces as the control's name. A drop-down list's
// own name is its current text here; its label comes through the
// labelled-by relation.
QString AccessibleName(QWidget* widget)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (!a)
        return {};
    if (a->role() == QAccessible::ComboBox) {
        const auto labels = a->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return a->text(QAccessible::Name);
}

bool DoAction(QWidget* widget, const QString& action)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
    if (!a || !a->actionInterface() || !a->actionInterface()->actionNames().contains(action))
        return false;
    a->actionInterface()->doAction(action);
    return true;
}

TEST(AccessibilityTest, SecurityControlsFollowTheBoxesHoweverTheyAreTicked)
{
    CSecurityDlg page;
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    auto* security = DlgItem<QCheckBox>(&page, IDC_ENABLE_SECURITY);
    auto* owner = DlgItem<QCheckBox>(&page, IDC_ENABLE_OWNER_PASSWORD);
    auto* ownerEdit = DlgItem<QLineEdit>(&page, IDC_OWNER_PASSWORD);
    const int followers[] = {IDC_ENABLE_USER_PASSWORD,
                             IDC_USER_PASSWORD,
                             IDC_ENABLE_OWNER_PASSWORD,
                             IDC_OWNER_PASSWORD,
                             IDC_COPYING,
                             IDC_FORMS,
                             IDC_CHANGING,
                             IDC_PRINTING,
                             IDC_LOW_ENCRYPTION,
                             IDC_HIGH_ENCRYPTION,
                             IDC_AES128_ENCRYPTION,
                             IDC_AES256_ENCRYPTION};

    // The screen reader's toggle action sends no click.
    ASSERT_TRUE(DoAction(security, QAccessibleActionInterface::toggleAction()));
    EXPECT_TRUE(security->isChecked());
    for (int id : followers)
        EXPECT_TRUE(GetDlgItem(&page, id)->isEnabled()) << id;

    ASSERT_TRUE(DoAction(owner, QAccessibleActionInterface::toggleAction()));
    EXPECT_FALSE(owner->isChecked());
    EXPECT_FALSE(ownerEdit->isEnabled());

    // Space on the focused box.
    owner->setFocus();
    QTest::keyClick(owner, Qt::Key_Space);
    EXPECT_TRUE(owner->isChecked());
    EXPECT_TRUE(ownerEdit->isEnabled());

    security->setFocus();
    QTest::keyClick(security, Qt::Key_Space);
    EXPECT_FALSE(security->isChecked());
    for (int id : followers)
        EXPECT_FALSE(GetDlgItem(&page, id)->isEnabled()) << id;

    // A box set while security is off keeps its edit grey.
    owner->setChecked(false);
    owner->setChecked(true);
    EXPECT_FALSE(ownerEdit->isEnabled());
}

TEST(AccessibilityTest, InputsCarryTheirLabelsAsNames)
{
    CDescriptionDlg description;
    EXPECT_EQ(AccessibleName(GetDlgItem(&description, IDC_TITLE)), "Title");
    EXPECT_EQ(AccessibleName(GetDlgItem(&description, IDC_SUBJECT)), "Subject");
    EXPECT_EQ(AccessibleName(GetDlgItem(&description, IDC_AUTHOR)), "Author");
    EXPECT_EQ(AccessibleName(GetDlgItem(&description, IDC_KEYWORDS)), "Keywords");

    CSecurityDlg security;
    EXPECT_EQ(AccessibleName(GetDlgItem(&security, IDC_USER_PASSWORD)), "Enable User Password");
    EXPECT_EQ(AccessibleName(GetDlgItem(&security, IDC_OWNER_PASSWORD)), "Enable Owner Password");

    CAdvancedDlg advanced;
    EXPECT_EQ(AccessibleName(GetDlgItem(&advanced, IDC_IMAGES_COMPRESSION)), "Images Compression");
    EXPECT_EQ(AccessibleName(GetDlgItem(&advanced, IDC_JPEG_QUALITY)), "JPEG Quality");
    EXPECT_EQ(AccessibleName(GetDlgItem(&advanced, IDC_PDF_VERSION)), "PDF Version");
    EXPECT_EQ(AccessibleName(GetDlgItem(&advanced, IDC_PAGE_LAYOUT)), "Page Layout");
    // A check box without text of its own is named by the label beside it.
    EXPECT_EQ(AccessibleName(GetDlgItem(&advanced, IDC_ALTERNATE_EMF)), "Alternate EMF Rendering");

    QWidget page;
    DialogBuilder::Build(kConvertTemplate, &page);
    EXPECT_EQ(AccessibleName(GetDlgItem(&page, IDC_OUTPUT_FOLDER)),
              "Select destination folder for the output file(s).");
    EXPECT_EQ(AccessibleName(GetDlgItem(&page, IDC_STATUS)), "Status");
    EXPECT_EQ(AccessibleName(GetDlgItem(&page, IDC_SHOW_ADVANCED)), "Display Advanced Options.");
    EXPECT_EQ(AccessibleName(GetDlgItem(&page, IDC_FILE_LIST)),
              "You can add more than one file at a time for conversion");

    // The prompt's label comes after its field in the template; it sits on its row.
    QWidget prompt;
    DialogBuilder::Build(kPasswordTemplate, &prompt);
    EXPECT_EQ(AccessibleName(GetDlgItem(&prompt, IDC_PASSWORD)), "Enter Password:");
}

TEST(AccessibilityTest, SpaceAndEnterPressEveryButtonAndTabFollowsTheTemplate)
{
    QWidget page;
    DialogBuilder::Build(kConvertTemplate, &page);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    for (int id : {IDC_ADD_FILES, IDC_REMOVE, IDC_REMOVE_ALL, IDC_BROWSE, IDC_CONVERT}) {
        auto* button = DlgItem<QPushButton>(&page, id);
        QSignalSpy clicks(button, &QPushButton::clicked);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Space);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(clicks.count(), 3) << id;
    }

    // Tab walks the tab stops in template order.
    QWidget* first = GetDlgItem(&page, IDC_FILE_LIST);
    first->setFocus();
    QList<int> order;
    for (int i = 0; i < 9; ++i) {
        order << GetDlgCtrlID(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QList<int>{IDC_FILE_LIST, IDC_ADD_FILES, IDC_REMOVE, IDC_REMOVE_ALL, IDC_OUTPUT_FOLDER,
                                 IDC_BROWSE, IDC_COMBINE_FILES, IDC_STATUS, IDC_CONVERT}));
}

} // namespace
