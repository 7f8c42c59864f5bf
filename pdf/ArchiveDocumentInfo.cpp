#include "pdf/ArchiveDocumentInfo.h"

#include "pdf/ArchiveFormat.h"

#include <QRegularExpression>
#include <QUuid>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace {

// Carriage returns are kept as references: an XML reader drops them otherwise,
// and the XMP value would differ from the Info value.
QString XmlEscaped(const QString& text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\r'), QStringLiteral("&#13;"));
}

QString InfoText(QPDFObjectHandle info, const char* key)
{
    if (!info.isDictionary() || !info.hasKey(key) || !info.getKey(key).isString())
        return {};
    return QString::fromStdString(info.getKey(key).getUTF8Value());
}

QString Element(const QString& name, const QString& value)
{
    return value.isEmpty() ? QString() : QStringLiteral("<%1>%2</%1>\n").arg(name, XmlEscaped(value));
}

QString LanguageAlternative(const QString& name, const QString& value)
{
    return value.isEmpty() ? QString()
                           : QStringLiteral("<%1><rdf:Alt><rdf:li xml:lang=\"x-default\">%2</rdf:li>"
                                            "</rdf:Alt></%1>\n")
                                 .arg(name, XmlEscaped(value));
}

QByteArray XmpPacket(QPDFObjectHandle info, bool archive, bool accessible)
{
    const QString title = InfoText(info, "/Title");
    const QString author = InfoText(info, "/Author");
    const QString subject = InfoText(info, "/Subject");
    const QString uuid = QStringLiteral("uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QString body;
    body += Element(QStringLiteral("pdf:Producer"), InfoText(info, "/Producer"));
    body += Element(QStringLiteral("pdf:Keywords"), InfoText(info, "/Keywords"));
    body += Element(QStringLiteral("xmp:CreatorTool"), InfoText(info, "/Creator"));
    body += Element(QStringLiteral("xmp:CreateDate"), XmpDate(InfoText(info, "/CreationDate")));
    body += Element(QStringLiteral("xmp:ModifyDate"), XmpDate(InfoText(info, "/ModDate")));
    body += Element(QStringLiteral("xmpMM:DocumentID"), uuid);
    body += Element(QStringLiteral("xmpMM:InstanceID"), uuid);
    body += Element(QStringLiteral("dc:format"), QStringLiteral("application/pdf"));
    body += LanguageAlternative(QStringLiteral("dc:title"), title);
    body += LanguageAlternative(QStringLiteral("dc:description"), subject);
    if (!author.isEmpty())
        body += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                    .arg(XmlEscaped(author));
    if (archive) {
        body += Element(QStringLiteral("pdfaid:part"), QStringLiteral("2"));
        body += Element(QStringLiteral("pdfaid:conformance"), QStringLiteral("B"));
    }
    if (accessible)
        body += Element(QStringLiteral("pdfuaid:part"), QStringLiteral("1"));
    // PDF/A admits only the schemas it predefines or describes in the packet.
    if (archive && accessible)
        body += QStringLiteral(
            "<pdfaExtension:schemas><rdf:Bag><rdf:li rdf:parseType=\"Resource\">\n"
            "<pdfaSchema:schema>PDF/UA Universal Accessibility Schema</pdfaSchema:schema>\n"
            "<pdfaSchema:namespaceURI>http://www.aiim.org/pdfua/ns/id/</pdfaSchema:namespaceURI>\n"
            "<pdfaSchema:prefix>pdfuaid</pdfaSchema:prefix>\n"
            "<pdfaSchema:property><rdf:Seq><rdf:li rdf:parseType=\"Resource\">\n"
            "<pdfaProperty:name>part</pdfaProperty:name>\n"
            "<pdfaProperty:valueType>Integer</pdfaProperty:valueType>\n"
            "<pdfaProperty:category>internal</pdfaProperty:category>\n"
            "<pdfaProperty:description>Indicates, which part of ISO 14289 standard is "
            "followed</pdfaProperty:description>\n"
            "</rdf:li></rdf:Seq></pdfaSchema:property>\n"
            "</rdf:li></rdf:Bag></pdfaExtension:schemas>\n");
    const QString packet =
        QStringLiteral("<?xpacket begin=\"\xFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                       "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       "<rdf:Description rdf:about=\"\"\n"
                       " xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"\n"
                       " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
                       " xmlns:xmpMM=\"http://ns.adobe.com/xap/1.0/mm/\"\n"
                       " xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
                       " xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\"") +
        (accessible ? QStringLiteral("\n xmlns:pdfuaid=\"http://www.aiim.org/pdfua/ns/id/\"") : QString()) +
        (archive && accessible
             ? QStringLiteral("\n xmlns:pdfaExtension=\"http://www.aiim.org/pdfa/ns/extension/\"\n"
                              " xmlns:pdfaSchema=\"http://www.aiim.org/pdfa/ns/schema#\"\n"
                              " xmlns:pdfaProperty=\"http://www.aiim.org/pdfa/ns/property#\"")
             : QString()) +
        QStringLiteral(">\n") + body +
        QStringLiteral("</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>");
    return packet.toUtf8();
}

} // namespace

QString XmpDate(const QString& pdfDate)
{
    static const QRegularExpression date(QStringLiteral(
        "^D:(\\d{4})(\\d{2})?(\\d{2})?(\\d{2})?(\\d{2})?(\\d{2})?(?:([Zz+-])(\\d{2})?'?(\\d{2})?'?)?$"));
    const QRegularExpressionMatch m = date.match(pdfDate.trimmed());
    if (!m.hasMatch())
        return {};
    const auto part = [&](int i, const char* fallback) {
        return m.captured(i).isEmpty() ? QString::fromLatin1(fallback) : m.captured(i);
    };
    QString text =
        QStringLiteral("%1-%2-%3T%4:%5:%6")
            .arg(m.captured(1), part(2, "01"), part(3, "01"), part(4, "00"), part(5, "00"), part(6, "00"));
    const QString sign = m.captured(7);
    if (sign.isEmpty())
        return text;
    if (sign.compare(QLatin1String("Z"), Qt::CaseInsensitive) == 0)
        return text + QLatin1Char('Z');
    return text + sign + part(8, "00") + QLatin1Char(':') + part(9, "00");
}

void WriteArchiveDocumentInfo(QPDF& pdf, const ConversionSettings& settings)
{
    QPDFObjectHandle trailer = pdf.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    const std::pair<const char*, const QString*> fields[] = {{"/Title", &settings.title},
                                                             {"/Subject", &settings.subject},
                                                             {"/Author", &settings.author},
                                                             {"/Keywords", &settings.keywords}};
    for (const auto& [key, value] : fields) {
        if (value->isEmpty())
            continue;
        info.replaceKey(key, QPDFObjectHandle::newUnicodeString(value->toStdString()));
    }

    QPDFObjectHandle metadata = QPDFObjectHandle::newStream(
        &pdf, XmpPacket(info, IsArchive(settings), settings.tagged).toStdString());
    metadata.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
    metadata.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
    pdf.getRoot().replaceKey("/Metadata", metadata);
}
