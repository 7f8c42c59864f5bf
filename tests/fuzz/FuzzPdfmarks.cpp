// The side file's document information: whatever text is typed, the string
// Ghostscript reads back from the side file is that text (line ends read as
// PostScript reads them).
#include "pdf/GhostscriptCommandLine.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

// Reads the PostScript string at text[at] (literal or <FEFF...> hex) the way
// the PostScript scanner does; false when it is not a whole string.
bool ReadPostScriptString(const QString& text, qsizetype at, QString* value)
{
    value->clear();
    if (text.mid(at, 5) == u"<FEFF") {
        const qsizetype end = text.indexOf(u'>', at);
        if (end < 0 || (end - at - 5) % 4 != 0)
            return false;
        for (qsizetype i = at + 5; i < end; i += 4)
            value->append(QChar(static_cast<char16_t>(text.mid(i, 4).toUShort(nullptr, 16))));
        return true;
    }
    if (at >= text.size() || text[at] != u'(')
        return false;
    int depth = 1;
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            if (++i >= text.size())
                return false;
            const QChar e = text[i];
            const int known = QStringLiteral("nrtbf()\\").indexOf(e);
            if (known < 0)
                return false; // the side file never writes another escape
            value->append(QStringLiteral("\n\r\t\b\f()\\")[known]);
            continue;
        }
        if (c == u'\r') { // an end of line in a string reads as one line feed
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            value->append(u'\n');
            continue;
        }
        if (c == u'(')
            ++depth;
        if (c == u')' && --depth == 0)
            return true;
        value->append(c);
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString typed =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (typed.isEmpty())
        return 0;
    ConversionSettings settings;
    settings.title = typed;
    const QString text = BuildPdfmarksText(settings);
    const qsizetype at = text.indexOf(QStringLiteral("/Title "));
    QString read;
    // Line ends are kept as typed (a multi-line edit's carriage return and
    // line feed); in a literal string PostScript reads each as one line
    // feed, in a hex string as written.
    QString expected = typed;
    if (at >= 0 && text.mid(at + 7, 1) == u"(")
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (at < 0 || !ReadPostScriptString(text, at + 7, &read) || read != expected)
        std::abort();
    // The side file is written one byte a character.
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            std::abort();
    return 0;
}
