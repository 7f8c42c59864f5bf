#include "pdf/StandardFontEmbedder.h"

#include "pdf/PageResources.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>

#include <array>
#include <map>
#include <set>
#include <vector>

namespace {

using Handle = QPDFObjectHandle;

const char* const kUrwFolder = "/usr/share/fonts/opentype/urw-base35/";

// The standard Latin fonts and their URW twins.
const std::map<std::string, const char*> kTwins{
    {"/Helvetica", "NimbusSans-Regular"},        {"/Helvetica-Bold", "NimbusSans-Bold"},
    {"/Helvetica-Oblique", "NimbusSans-Italic"}, {"/Helvetica-BoldOblique", "NimbusSans-BoldItalic"},
    {"/Times-Roman", "NimbusRoman-Regular"},     {"/Times-Bold", "NimbusRoman-Bold"},
    {"/Times-Italic", "NimbusRoman-Italic"},     {"/Times-BoldItalic", "NimbusRoman-BoldItalic"},
    {"/Courier", "NimbusMonoPS-Regular"},        {"/Courier-Bold", "NimbusMonoPS-Bold"},
    {"/Courier-Oblique", "NimbusMonoPS-Italic"}, {"/Courier-BoldOblique", "NimbusMonoPS-BoldItalic"},
};

// WinAnsiEncoding's codes 128 to 159 (0: none); the others are Latin-1's.
constexpr std::array<char16_t, 32> kWinAnsiHigh{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t WinAnsi(int code)
{
    return code >= 128 && code < 160 ? kWinAnsiHigh[code - 128] : static_cast<char16_t>(code);
}

// The few tables of an OpenType font the font dictionary needs.
class OpenTypeFont
{
public:
    explicit OpenTypeFont(QByteArray data) : m_data(std::move(data))
    {
        const int tables = U16(4);
        for (int i = 0; i < tables; ++i) {
            const int record = 12 + 16 * i;
            if (record + 16 > m_data.size())
                break;
            m_tables[m_data.mid(record, 4).toStdString()] = static_cast<int>(U32(record + 8));
        }
    }

    bool Valid() const
    {
        for (const char* table : {"head", "hhea", "hmtx", "cmap"})
            if (m_tables.count(table) == 0)
                return false;
        return UnitsPerEm() > 0;
    }

    int UnitsPerEm() const { return U16(Table("head") + 18); }
    int Scaled(int units) const { return units * 1000 / UnitsPerEm(); }
    std::array<int, 4> Box() const
    {
        const int head = Table("head");
        return {Scaled(S16(head + 36)), Scaled(S16(head + 38)), Scaled(S16(head + 40)),
                Scaled(S16(head + 42))};
    }
    int Ascent() const { return Scaled(S16(Table("hhea") + 4)); }
    int Descent() const { return Scaled(S16(Table("hhea") + 6)); }
    int CapHeight() const
    {
        const auto os2 = m_tables.find("OS/2");
        if (os2 != m_tables.end() && U16(os2->second) >= 2)
            return Scaled(S16(os2->second + 88));
        return Ascent();
    }

    // The advance width of the character, in thousandths of the em.
    int Width(char16_t character) const
    {
        const int glyph = Glyph(character);
        const int hhea = Table("hhea");
        const int metrics = U16(hhea + 34);
        if (metrics == 0)
            return 0;
        const int index = glyph < metrics ? glyph : metrics - 1;
        return Scaled(U16(Table("hmtx") + 4 * index));
    }

private:
    int Table(const char* name) const { return m_tables.at(name); }
    int U16(int at) const
    {
        return at >= 0 && at + 2 <= m_data.size() ? qFromBigEndian<quint16>(m_data.constData() + at) : 0;
    }
    int S16(int at) const { return static_cast<qint16>(U16(at)); }
    quint32 U32(int at) const
    {
        return at >= 0 && at + 4 <= m_data.size() ? qFromBigEndian<quint32>(m_data.constData() + at) : 0;
    }

    // The glyph of a character through the Unicode map (format 4).
    int Glyph(char16_t character) const
    {
        const int cmap = Table("cmap");
        const int count = U16(cmap + 2);
        for (int i = 0; i < count; ++i) {
            const int platform = U16(cmap + 4 + 8 * i);
            const int encoding = U16(cmap + 6 + 8 * i);
            const int at = cmap + static_cast<int>(U32(cmap + 8 + 8 * i));
            if (U16(at) != 4 || !((platform == 3 && encoding == 1) || platform == 0))
                continue;
            const int segments = U16(at + 6) / 2;
            const int ends = at + 14;
            const int starts = ends + 2 * segments + 2;
            const int deltas = starts + 2 * segments;
            const int offsets = deltas + 2 * segments;
            for (int s = 0; s < segments; ++s) {
                if (character > U16(ends + 2 * s))
                    continue;
                if (character < U16(starts + 2 * s))
                    return 0;
                const int offset = U16(offsets + 2 * s);
                if (offset == 0)
                    return (character + U16(deltas + 2 * s)) & 0xFFFF;
                const int glyph = U16(offsets + 2 * s + offset + 2 * (character - U16(starts + 2 * s)));
                return glyph == 0 ? 0 : (glyph + U16(deltas + 2 * s)) & 0xFFFF;
            }
            return 0;
        }
        return 0;
    }

    QByteArray m_data;
    std::map<std::string, int> m_tables;
};

// Makes font, a standard font only named, the embedded URW twin.
void Embed(QPDF& pdf, Handle font, std::map<std::string, Handle>& programs)
{
    if (!font.isDictionary() || !font.getKey("/Subtype").isNameAndEquals("/Type1") ||
        font.getKey("/FontDescriptor").isDictionary() || !font.getKey("/BaseFont").isName())
        return;
    const auto twin = kTwins.find(font.getKey("/BaseFont").getName());
    if (twin == kTwins.end())
        return;
    // Only the encoding whose characters are known: WinAnsi, or the standard one.
    Handle encoding = font.getKey("/Encoding");
    if (!encoding.isNull() && !encoding.isNameAndEquals("/WinAnsiEncoding"))
        return;
    QFile file(QString::fromLatin1(kUrwFolder) + QString::fromLatin1(twin->second) + QStringLiteral(".otf"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    const OpenTypeFont metrics(data);
    if (!metrics.Valid())
        return;
    Handle& program = programs[twin->second];
    if (!program.isInitialized()) {
        program = pdf.newStream(data.toStdString());
        program.getDict().replaceKey("/Subtype", Handle::newName("/OpenType"));
    }
    std::vector<Handle> widths;
    for (int code = 32; code <= 255; ++code) {
        const char16_t character = WinAnsi(code);
        widths.push_back(Handle::newInteger(character == 0 ? 0 : metrics.Width(character)));
    }
    const std::array<int, 4> box = metrics.Box();
    Handle descriptor =
        pdf.makeIndirectObject(Handle::parse("<< /Type /FontDescriptor /Flags 32 /StemV 80 >>"));
    const std::string name = std::string("/") + twin->second;
    descriptor.replaceKey("/FontName", Handle::newName(name));
    descriptor.replaceKey("/FontBBox",
                          Handle::newArray({Handle::newInteger(box[0]), Handle::newInteger(box[1]),
                                            Handle::newInteger(box[2]), Handle::newInteger(box[3])}));
    const bool slanted =
        twin->first.find("Oblique") != std::string::npos || twin->first.find("Italic") != std::string::npos;
    descriptor.replaceKey("/ItalicAngle", Handle::newInteger(slanted ? -12 : 0));
    descriptor.replaceKey("/Ascent", Handle::newInteger(metrics.Ascent()));
    descriptor.replaceKey("/Descent", Handle::newInteger(metrics.Descent()));
    descriptor.replaceKey("/CapHeight", Handle::newInteger(metrics.CapHeight()));
    descriptor.replaceKey("/FontFile3", program);
    font.replaceKey("/BaseFont", Handle::newName(name));
    font.replaceKey("/Encoding", Handle::newName("/WinAnsiEncoding"));
    font.replaceKey("/FirstChar", Handle::newInteger(32));
    font.replaceKey("/LastChar", Handle::newInteger(255));
    font.replaceKey("/Widths", Handle::newArray(widths));
    font.replaceKey("/FontDescriptor", descriptor);
}

void EmbedIn(QPDF& pdf, Handle resources, std::map<std::string, Handle>& programs, std::set<QPDFObjGen>& seen,
             int depth)
{
    if (!resources.isDictionary() || depth > 20)
        return;
    Handle fonts = resources.getKey("/Font");
    if (fonts.isDictionary())
        for (auto [name, font] : fonts.getDictAsMap())
            Embed(pdf, font, programs);
    Handle objects = resources.getKey("/XObject");
    if (objects.isDictionary())
        for (auto [name, object] : objects.getDictAsMap())
            if (object.isStream() && (!object.isIndirect() || seen.insert(object.getObjGen()).second))
                EmbedIn(pdf, object.getDict().getKey("/Resources"), programs, seen, depth + 1);
}

} // namespace

void StandardFontEmbedder::EmbedStandardFonts(QPDF& pdf)
{
    std::map<std::string, Handle> programs;
    std::set<QPDFObjGen> seen;
    Handle form = pdf.getRoot().getKey("/AcroForm");
    if (form.isDictionary())
        EmbedIn(pdf, form.getKey("/DR"), programs, seen, 0);
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages())
        for (Handle resources : PageResources::Of(page))
            EmbedIn(pdf, resources, programs, seen, 0);
}
