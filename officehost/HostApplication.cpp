#include "officehost/HostApplication.h"

#include "officehost/HostDocument.h"

#include <QFileInfo>

std::shared_ptr<OfficeDocument> HostApplication::OpenDocument(const LibreOffice::OpenRequest& request,
                                                              OfficeDocument::Kind kind,
                                                              const QString& failure)
{
    if (m_quitRequested)
        Fail(QStringLiteral("The application is closing."));
    // LibreOffice opens almost anything as something: what is not of this
    // application's kind does not open, and a damaged file that only plain
    // text import would take is refused unless it is meant as text (plain
    // text, or values separated by commas).
    const QString suffix = QFileInfo(request.path).suffix();
    const bool meantAsText = request.filterName.startsWith(QStringLiteral("Text")) ||
                             suffix.compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0 ||
                             suffix.compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
    auto refuse = [&](OfficeDocument::Kind opensAs, const QString& filter) {
        if (opensAs == kind && !(filter.startsWith(QStringLiteral("Text")) && !meantAsText))
            return;
        qWarning("Open %s: not a document of this kind (%s)", qPrintable(request.path), qPrintable(filter));
        Fail(failure);
    };
    // Told first what the office takes the file for, so that one it would
    // load as something else (damaged bytes as plain text in another
    // application, say) is refused before the office loads it at all.
    if (request.filterName.isEmpty()) {
        const LibreOffice::Detected detected = m_office.Detect(request.path);
        if (!detected.filterName.isEmpty())
            refuse(OfficeDocument::KindOfService(detected.documentService), detected.filterName);
    }
    QString why;
    std::shared_ptr<OfficeDocument> document = m_office.Open(request, &why);
    if (!document) {
        qWarning("Open %s: %s", qPrintable(request.path), qPrintable(why));
        Fail(failure);
    }
    refuse(document->DocumentKind(), document->FilterName());
    qInfo("Opened %s with %s", qPrintable(request.path), qPrintable(document->FilterName()));
    return document;
}

void HostApplication::Track(const std::shared_ptr<HostDocument>& document)
{
    m_documents.append(document);
}

void HostApplication::Forget(const HostDocument* document)
{
    m_documents.removeIf([document](const std::shared_ptr<HostDocument>& d) { return d.get() == document; });
}

std::shared_ptr<HostDocument> HostApplication::LastOpened() const
{
    return m_documents.isEmpty() ? nullptr : m_documents.last();
}

void HostApplication::Quit()
{
    const QList<std::shared_ptr<HostDocument>> documents = m_documents;
    for (const std::shared_ptr<HostDocument>& document : documents)
        document->CloseDocument();
    m_quitRequested = true;
}

void HostApplication::AddVisibleAndQuit(DISPID visible, DISPID quit, QList<Parameter> quitParameters)
{
    AddMember(visible, DISPATCH_PROPERTYPUT, {Integer(true)}, [](const Arguments&) { return Variant(); });
    AddMember(quit, DISPATCH_METHOD, std::move(quitParameters), [this](const Arguments&) {
        Quit();
        return Variant();
    });
}
