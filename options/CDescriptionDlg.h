#pragma once

#include "options/COptionPage.h"
#include "pdf/ConversionSettings.h"

// The Description page (template 135): title, subject, author and keywords
// that every PDF of a run carries. Enter in Keywords starts a new line.
class CDescriptionDlg : public COptionPage
{
    Q_OBJECT
public:
    explicit CDescriptionDlg(QWidget* parent = nullptr);

    // Data exchange: true reads the edits into the members, false puts the
    // members into the edits. Keywords lines are separated by carriage
    // return and line feed, as the multi-line edit returns them.
    void UpdateData(bool saveAndValidate = true);
    void GetSettings(ConversionSettings& settings) const;

    QString m_title;
    QString m_subject;
    QString m_author;
    QString m_keywords;
};
