#include "officehost/HostDocument.h"

#include "officehost/HostApplication.h"
#include "officehost/PrintSpooler.h"

void HostDocument::CheckOpen(const QString& failure) const
{
    if (!m_document)
        Fail(failure);
}

void HostDocument::PrintIntoFile(const QString& printFile, bool background, const QString& failure)
{
    CheckOpen(failure);
    if (printFile.isEmpty())
        Fail(failure);
    QString why;
    if (!m_application.Spooler().Print(m_document, printFile, background, &why)) {
        qWarning("Print %s: %s", qPrintable(printFile), qPrintable(why));
        Fail(failure);
    }
}

void HostDocument::CloseDocument()
{
    m_document.reset();
    m_application.Forget(this);
}
