#include "officehost/WordDocuments.h"

#include "officehost/WordApplication.h"
#include "officehost/WordDocument.h"
#include "platform/OfficeDispids.h"
#include "platform/WordOpenFormat.h"

QString WordDocuments::FilterForFormat(int format)
{
    switch (format) {
    case wordopenformat::kRtf:
        return QStringLiteral("Rich Text Format");
    case wordopenformat::kText:
        return QStringLiteral("Text (encoded)");
    case wordopenformat::kWebPage:
        return QStringLiteral("HTML (StarWriter)");
    case wordopenformat::kXml:
        return QStringLiteral("MS Word 2003 XML");
    default: // wdOpenFormatAuto and the rest: Word decides, so does LibreOffice
        return {};
    }
}

QString WordDocuments::FilterOptionsForFormat(int format)
{
    // Plain text in this system's encoding, in LibreOffice's own font for
    // text, so its pages break where LibreOffice's own PDF of it breaks.
    return format == wordopenformat::kText ? QStringLiteral("UTF8,LF") : QString();
}

WordDocuments::WordDocuments(WordApplication& application) : m_application(application)
{
    // FileName, ConfirmConversions, ReadOnly, AddToRecentFiles,
    // PasswordDocument, PasswordTemplate, Revert, WritePasswordDocument,
    // WritePasswordTemplate, Format, Encoding, Visible. The document is
    // always opened read-only and hidden, never added to a recent list.
    AddMember(worddispid::kOpen, DISPATCH_METHOD,
              {Text(true), Integer(), Integer(), Integer(), Text(), Text(), Integer(), Text(), Text(),
               Integer(), Integer(), Integer()},
              [this](const Arguments& a) {
                  LibreOffice::OpenRequest request;
                  request.path = a.Text(0);
                  request.password = a.Text(4);
                  request.filterName = FilterForFormat(a.Integer(9));
                  request.filterOptions = FilterOptionsForFormat(a.Integer(9));
                  auto document = std::make_shared<WordDocument>(
                      m_application,
                      m_application.OpenDocument(request, OfficeDocument::Kind::Text,
                                                 QStringLiteral("The password is incorrect, or the file is "
                                                                "damaged. Word cannot open the document.")));
                  m_application.Track(document);
                  return Variant::Dispatch(document);
              });
}
