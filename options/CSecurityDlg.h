#pragma once

#include "options/COptionPage.h"
#include "pdf/ConversionSettings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The Security page (template 133): encryption on or off, the two passwords,
// the rights the encrypted PDF withholds, 40-bit or 128-bit RC4 or 128-bit or
// 256-bit AES (encryptionLevel 0 to 3). While
// "Enable PDF Security" is not ticked every other control is disabled; a
// disabled edit keeps its text and is read all the same.
class CSecurityDlg : public COptionPage
{
    Q_OBJECT
public:
    explicit CSecurityDlg(QWidget* parent = nullptr);

    // Data exchange: true reads the controls into the members, false puts the
    // members into the controls.
    void UpdateData(bool saveAndValidate = true);
    // The members into the security fields of the settings.
    void GetSettings(ConversionSettings& settings) const;

    int m_enableSecurity = 0;
    int m_enableUserPassword = 0;
    int m_enableOwnerPassword = 0;
    int m_copying = 0;
    int m_forms = 0;
    int m_changing = 0;
    int m_printing = 0;
    int m_encryptionLevel = 0;
    QString m_userPassword;
    QString m_ownerPassword;

private:
    void OnInitDialog();
    void EnableSecurityControls(bool enable);
    void OnEnableSecurity();
    void OnEnableUserPassword();
    void OnEnableOwnerPassword();
    QCheckBox* Check(int id) const;
    QLineEdit* Edit(int id) const;
};
