#include "pdf/SpoolTextMaps.h"

#include <QFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <exception>

namespace {

// A hex string of the map, with where it stands in the text.
struct Token
{
    qsizetype at = 0;  // of the first digit
    QByteArray digits; // upper case
    bool hex = false;  // else a word ("beginbfchar") or a bracket
};

QList<Token> Tokens(const QByteArray& text)
{
    QList<Token> tokens;
    for (qsizetype i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '<') {
            const qsizetype end = text.indexOf('>', i + 1);
            if (end < 0)
                break;
            Token token{i + 1, text.mid(i + 1, end - i - 1).toUpper(), true};
            token.digits.replace(' ', QByteArray()).replace('\n', QByteArray()).replace('\r', QByteArray());
            tokens.append(token);
            i = end + 1;
        } else if (QChar::isLetter(uchar(c))) {
            qsizetype end = i;
            while (end < text.size() && QChar::isLetterOrNumber(uchar(text[end])))
                ++end;
            tokens.append(Token{i, text.mid(i, end - i), false});
            i = end;
        } else if (c == '[' || c == ']') {
            tokens.append(Token{i, QByteArray(1, c), false});
            ++i;
        } else {
            ++i;
        }
    }
    return tokens;
}

// Every single-code entry of the map whose characters are more than one
// (more than four hex digits): its code token and its characters' token.
QList<QPair<Token, Token>> SeveralCharacterEntries(const QByteArray& map)
{
    QList<QPair<Token, Token>> entries;
    const QList<Token> tokens = Tokens(map);
    enum class In { None, Chars, Ranges } in = In::None;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (!t.hex) {
            if (t.digits == "beginbfchar")
                in = In::Chars;
            else if (t.digits == "beginbfrange")
                in = In::Ranges;
            else if (t.digits.startsWith("end"))
                in = In::None;
            continue;
        }
        if (in == In::Chars && i + 1 < tokens.size() && tokens[i + 1].hex) {
            if (tokens[i + 1].digits.size() > 4)
                entries.append({t, tokens[i + 1]});
            ++i;
        } else if (in == In::Ranges && i + 2 < tokens.size() && tokens[i + 1].hex) {
            // A range of one code; a range's array of targets is stepped over.
            if (tokens[i + 2].hex && t.digits == tokens[i + 1].digits && tokens[i + 2].digits.size() > 4)
                entries.append({t, tokens[i + 2]});
            i += tokens[i + 2].hex ? 2 : 1;
        }
    }
    return entries;
}

QByteArray BaseName(QPDFObjectHandle font)
{
    QPDFObjectHandle name = font.getKey("/BaseFont");
    if (!name.isName())
        return {};
    const QByteArray text = QByteArray::fromStdString(name.getName()).mid(1);
    const qsizetype plus = text.indexOf('+');
    return plus == 6 ? text.mid(plus + 1) : text;
}

// Calls back for each font with a text map: its base name and its map's stream.
template <typename Visit> void EachMap(QPDF& pdf, Visit visit)
{
    for (QPDFObjectHandle& object : pdf.getAllObjects()) {
        if (!object.isDictionary())
            continue;
        QPDFObjectHandle map = object.getKey("/ToUnicode");
        if (map.isStream())
            visit(BaseName(object), map);
    }
}

// Ghostscript's garbling: the first character kept, then each next one's
// first byte replaced by the byte before it.
bool GarbledFrom(const QByteArray& garbled, const QByteArray& original)
{
    if (garbled.size() != original.size() || garbled == original || garbled.size() % 4 != 0)
        return false;
    if (garbled.left(4) != original.left(4))
        return false;
    for (qsizetype unit = 4; unit < garbled.size(); unit += 4) {
        if (garbled.mid(unit, 2) != original.mid(unit - 2, 2) ||
            garbled.mid(unit + 2, 2) != original.mid(unit + 2, 2))
            return false;
    }
    return true;
}

} // namespace

SpoolTextMaps SpoolTextMaps::Read(const QString& spool)
{
    SpoolTextMaps maps;
    QFile file(spool);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-"))
        return maps;
    file.close();
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(spool).constData());
        EachMap(pdf, [&](const QByteArray& base, QPDFObjectHandle map) {
            const std::shared_ptr<Buffer> data = map.getStreamData();
            const QByteArray text(reinterpret_cast<const char*>(data->getBuffer()),
                                  qsizetype(data->getSize()));
            for (const auto& [code, characters] : SeveralCharacterEntries(text))
                maps.m_entries[base].append({code.digits, characters.digits});
        });
    } catch (const std::exception&) {
        maps.m_entries.clear();
    }
    return maps;
}

int SpoolTextMaps::Mend(QPDF& pdf) const
{
    int mended = 0;
    EachMap(pdf, [&](const QByteArray& base, QPDFObjectHandle map) {
        const auto known = m_entries.constFind(base);
        if (known == m_entries.cend())
            return;
        const std::shared_ptr<Buffer> data = map.getStreamData();
        QByteArray text(reinterpret_cast<const char*>(data->getBuffer()), qsizetype(data->getSize()));
        int here = 0;
        for (const auto& [code, characters] : SeveralCharacterEntries(text)) {
            // The one original this entry can have come from.
            QByteArray original;
            int candidates = 0;
            for (const auto& [knownCode, knownCharacters] : *known) {
                if (knownCode == code.digits && GarbledFrom(characters.digits, knownCharacters) &&
                    knownCharacters != original) {
                    original = knownCharacters;
                    ++candidates;
                }
            }
            if (candidates != 1)
                continue;
            // Same length: the digits are written over in place.
            if (text.mid(characters.at, original.size()).toUpper() != characters.digits)
                continue;
            text.replace(characters.at, original.size(), original);
            ++here;
        }
        if (here > 0) {
            map.replaceStreamData(text.toStdString(), QPDFObjectHandle::newNull(),
                                  QPDFObjectHandle::newNull());
            mended += here;
        }
    });
    return mended;
}
