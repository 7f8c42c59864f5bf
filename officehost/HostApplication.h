#pragma once

#include "officehost/AutomationObject.h"
#include "officehost/LibreOffice.h"
#include "officehost/OfficeDocument.h"
#include "platform/DispatchProtocol.h"

#include <QList>

#include <memory>

class HostDocument;
class PrintSpooler;

// What the three applications share: the office, the printer, the open
// documents, and the end of the application on Quit.
class HostApplication : public AutomationObject
{
public:
    HostApplication(LibreOffice& office, PrintSpooler& spooler) : m_office(office), m_spooler(spooler) {}

    PrintSpooler& Spooler() { return m_spooler; }
    bool QuitRequested() const { return m_quitRequested; }
    // The main windows the application shows, for the client's window list.
    virtual QList<dispatchprotocol::WindowReport> Windows() const { return {}; }

    // Opens a document of this application's kind; fails as the
    // application would when it cannot (with the given description).
    std::shared_ptr<OfficeDocument> OpenDocument(const LibreOffice::OpenRequest& request,
                                                 OfficeDocument::Kind kind, const QString& failure);
    // The application keeps its open documents until they are closed, as
    // Office does, whether or not the client still holds them.
    void Track(const std::shared_ptr<HostDocument>& document);
    void Forget(const HostDocument* document);
    // The document opened last of those still open.
    std::shared_ptr<HostDocument> LastOpened() const;
    // Closes every document (unsaved) and marks the application for its end.
    void Quit();

protected:
    // The members every application has: Visible (accepted; nothing is ever
    // shown) and Quit, which takes the given (ignored) arguments.
    void AddVisibleAndQuit(DISPID visible, DISPID quit, QList<Parameter> quitParameters = {});

private:
    LibreOffice& m_office;
    PrintSpooler& m_spooler;
    QList<std::shared_ptr<HostDocument>> m_documents;
    bool m_quitRequested = false;
};
