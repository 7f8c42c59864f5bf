#pragma once

#include "officehost/AutomationObject.h"

#include <memory>

class HostApplication;
class OfficeDocument;

// An open document, workbook or presentation of one of the applications.
class HostDocument : public AutomationObject
{
public:
    HostDocument(HostApplication& application, std::shared_ptr<OfficeDocument> document)
        : m_application(application), m_document(std::move(document))
    {
    }

    // Closes without saving; a background print of it still finishes.
    void CloseDocument();

protected:
    HostApplication& Application() { return m_application; }
    // Prints every page into the file on the product's printer; fails with
    // the given description as the application would.
    void PrintIntoFile(const QString& printFile, bool background, const QString& failure);
    // Fails as the application does for a member of a closed document.
    void CheckOpen(const QString& failure) const;

private:
    HostApplication& m_application;
    std::shared_ptr<OfficeDocument> m_document;
};
