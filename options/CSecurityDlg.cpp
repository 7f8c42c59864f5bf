#include "options/CSecurityDlg.h"

#include "app/DialogTemplates.h"
#include "pdf/SecurityChoices.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

// Every control of the page but 1005 and the labels, enabled and disabled together.
constexpr int kEnablingSet[] = {IDC_OWNER_PASSWORD,    IDC_ENABLE_OWNER_PASSWORD,
                                IDC_USER_PASSWORD,     IDC_ENABLE_USER_PASSWORD,
                                IDC_COPYING,           IDC_FORMS,
                                IDC_CHANGING,          IDC_PRINTING,
                                IDC_HIGH_ENCRYPTION,   IDC_LOW_ENCRYPTION,
                                IDC_AES128_ENCRYPTION, IDC_AES256_ENCRYPTION};

// The seven check boxes in data-exchange order, with their members.
struct CheckMember
{
    int id;
    int CSecurityDlg::*member;
};
constexpr CheckMember kChecks[] = {
    {IDC_ENABLE_SECURITY, &CSecurityDlg::m_enableSecurity},
    {IDC_ENABLE_USER_PASSWORD, &CSecurityDlg::m_enableUserPassword},
    {IDC_ENABLE_OWNER_PASSWORD, &CSecurityDlg::m_enableOwnerPassword},
    {IDC_COPYING, &CSecurityDlg::m_copying},
    {IDC_FORMS, &CSecurityDlg::m_forms},
    {IDC_CHANGING, &CSecurityDlg::m_changing},
    {IDC_PRINTING, &CSecurityDlg::m_printing},
};

} // namespace

CSecurityDlg::CSecurityDlg(QWidget* parent) : COptionPage(dialogtemplates::kSecurityTemplate, parent)
{
    // The enabling follows the boxes' state however it changes: a click, Space,
    // or a screen reader's toggle action, which sends no click.
    connect(Check(IDC_ENABLE_SECURITY), &QCheckBox::toggled, this, &CSecurityDlg::OnEnableSecurity);
    connect(Check(IDC_ENABLE_USER_PASSWORD), &QCheckBox::toggled, this, &CSecurityDlg::OnEnableUserPassword);
    connect(Check(IDC_ENABLE_OWNER_PASSWORD), &QCheckBox::toggled, this,
            &CSecurityDlg::OnEnableOwnerPassword);
    OnInitDialog();
}

QCheckBox* CSecurityDlg::Check(int id) const
{
    return DlgItem<QCheckBox>(this, id);
}

QLineEdit* CSecurityDlg::Edit(int id) const
{
    return DlgItem<QLineEdit>(this, id);
}

void CSecurityDlg::OnInitDialog()
{
    UpdateData(false); // all boxes unticked, 40-bit selected, edits empty
    SetRadioGroupValue(this, IDC_LOW_ENCRYPTION, 0);
    Check(IDC_ENABLE_SECURITY)->setChecked(false);
    Check(IDC_ENABLE_OWNER_PASSWORD)->setChecked(true);
    Check(IDC_ENABLE_USER_PASSWORD)->setChecked(true);
    EnableSecurityControls(false);
}

void CSecurityDlg::UpdateData(bool saveAndValidate)
{
    for (const CheckMember& check : kChecks) {
        if (saveAndValidate)
            this->*check.member = Check(check.id)->isChecked() ? 1 : 0;
        else
            Check(check.id)->setChecked(this->*check.member != 0);
    }
    if (saveAndValidate) {
        m_encryptionLevel = GetRadioGroupValue(this, IDC_LOW_ENCRYPTION);
        m_userPassword = Edit(IDC_USER_PASSWORD)->text();
        m_ownerPassword = Edit(IDC_OWNER_PASSWORD)->text();
    } else {
        SetRadioGroupValue(this, IDC_LOW_ENCRYPTION, m_encryptionLevel);
        Edit(IDC_USER_PASSWORD)->setText(m_userPassword);
        Edit(IDC_OWNER_PASSWORD)->setText(m_ownerPassword);
    }
}

void CSecurityDlg::GetSettings(ConversionSettings& settings) const
{
    settings.securityEnabled = m_enableSecurity == 1;
    settings.userPasswordEnabled = m_enableUserPassword == 1;
    settings.ownerPasswordEnabled = m_enableOwnerPassword == 1;
    settings.withheld.copying = m_copying == 1;
    settings.withheld.forms = m_forms == 1;
    settings.withheld.changing = m_changing == 1;
    settings.withheld.printing = m_printing == 1;
    // One button is always chosen; were none, the first stands.
    settings.encryption = securitychoices::EncryptionAt(m_encryptionLevel).value_or(EncryptionMethod::Rc4_40);
    settings.userPassword = m_userPassword;
    settings.ownerPassword = m_ownerPassword;
}

void CSecurityDlg::EnableSecurityControls(bool enable)
{
    for (int id : kEnablingSet)
        GetDlgItem(id)->setEnabled(enable);
}

void CSecurityDlg::OnEnableSecurity()
{
    if (!Check(IDC_ENABLE_SECURITY)->isChecked()) {
        EnableSecurityControls(false);
        return;
    }
    EnableSecurityControls(true);
    Edit(IDC_USER_PASSWORD)->setEnabled(Check(IDC_ENABLE_USER_PASSWORD)->isChecked());
    Edit(IDC_OWNER_PASSWORD)->setEnabled(Check(IDC_ENABLE_OWNER_PASSWORD)->isChecked());
}

// A box set while security is off (the page's data exchange) leaves its edit grey.
void CSecurityDlg::OnEnableUserPassword()
{
    QCheckBox* box = Check(IDC_ENABLE_USER_PASSWORD);
    Edit(IDC_USER_PASSWORD)->setEnabled(box->isChecked() && box->isEnabledTo(this));
}

void CSecurityDlg::OnEnableOwnerPassword()
{
    QCheckBox* box = Check(IDC_ENABLE_OWNER_PASSWORD);
    Edit(IDC_OWNER_PASSWORD)->setEnabled(box->isChecked() && box->isEnabledTo(this));
}
