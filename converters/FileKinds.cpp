#include "converters/FileKinds.h"

#include "platform/WordOpenFormat.h"

#include <algorithm>
#include <array>

namespace filekinds {
namespace {

using namespace Qt::Literals::StringLiterals;
using namespace wordopenformat;

constexpr FileKind kWord = FileKind::Word;
constexpr FileKind kExcel = FileKind::Excel;
constexpr FileKind kPowerPoint = FileKind::PowerPoint;
constexpr FileKind kPicture = FileKind::Picture;

// The first fourteen lines keep the order of the original "All Supported
// Files" entry; newer formats follow, grouped by kind.
constexpr std::array kTable{
    Entry{"doc"_L1, kWord, kAuto},        Entry{"docx"_L1, kWord, kAuto},
    Entry{"xls"_L1, kExcel, kNone},       Entry{"ppt"_L1, kPowerPoint, kNone},
    Entry{"bmp"_L1, kPicture, kNone},     Entry{"jpg"_L1, kPicture, kNone},
    Entry{"jpeg"_L1, kPicture, kNone},    Entry{"png"_L1, kPicture, kNone},
    Entry{"gif"_L1, kPicture, kNone},     Entry{"htm"_L1, kWord, kWebPage},
    Entry{"tml"_L1, kWord, kWebPage},     Entry{"xml"_L1, kWord, kXml},
    Entry{"txt"_L1, kWord, kText},        Entry{"rtf"_L1, kWord, kRtf},
    Entry{"html"_L1, kWord, kWebPage},    Entry{"dot"_L1, kWord, kAuto},
    Entry{"docm"_L1, kWord, kAuto},       Entry{"dotx"_L1, kWord, kAuto},
    Entry{"dotm"_L1, kWord, kAuto},       Entry{"odt"_L1, kWord, kAuto},
    Entry{"ott"_L1, kWord, kAuto},        Entry{"fodt"_L1, kWord, kAuto},
    Entry{"xlsx"_L1, kExcel, kNone},      Entry{"xlsm"_L1, kExcel, kNone},
    Entry{"xltx"_L1, kExcel, kNone},      Entry{"xlsb"_L1, kExcel, kNone},
    Entry{"ods"_L1, kExcel, kNone},       Entry{"ots"_L1, kExcel, kNone},
    Entry{"fods"_L1, kExcel, kNone},      Entry{"csv"_L1, kExcel, kNone},
    Entry{"pptx"_L1, kPowerPoint, kNone}, Entry{"pptm"_L1, kPowerPoint, kNone},
    Entry{"ppsx"_L1, kPowerPoint, kNone}, Entry{"pps"_L1, kPowerPoint, kNone},
    Entry{"potx"_L1, kPowerPoint, kNone}, Entry{"odp"_L1, kPowerPoint, kNone},
    Entry{"otp"_L1, kPowerPoint, kNone},  Entry{"fodp"_L1, kPowerPoint, kNone},
    Entry{"tif"_L1, kPicture, kNone},     Entry{"tiff"_L1, kPicture, kNone},
    Entry{"webp"_L1, kPicture, kNone},
};

constexpr std::array kKinds{kWord, kExcel, kPowerPoint, kPicture};

// "*.doc;*.docx;..." for the given extensions.
QString Patterns(const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns << "*."_L1 + extension;
    return patterns.join(u';');
}

QString FilterEntry(const QString& name, const QStringList& extensions)
{
    const QString patterns = Patterns(extensions);
    return name + u'(' + patterns + ")|"_L1 + patterns + u'|';
}

} // namespace

std::span<const Entry> Table()
{
    return kTable;
}

QString ExtensionOf(const QString& path)
{
    const QString name = path.section(u'/', -1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

const Entry* Find(const QString& path)
{
    const QString extension = ExtensionOf(path);
    if (extension.isEmpty())
        return nullptr;
    for (const Entry& entry : kTable) {
        if (entry.extension == extension)
            return &entry;
    }
    return nullptr;
}

std::optional<FileKind> KindOf(const QString& path)
{
    const Entry* entry = Find(path);
    return entry ? std::optional(entry->kind) : std::nullopt;
}

qsizetype OfficeFileCount(const QStringList& paths)
{
    return std::count_if(paths.begin(), paths.end(), [](const QString& path) {
        const std::optional<FileKind> kind = KindOf(path);
        return kind && *kind != FileKind::Picture;
    });
}

int WordOpenFormat(const QString& path)
{
    const Entry* entry = Find(path);
    return entry && entry->kind == kWord ? entry->wordOpenFormat : kNone;
}

QStringList Extensions()
{
    QStringList extensions;
    for (const Entry& entry : kTable)
        extensions << QString(entry.extension);
    return extensions;
}

QStringList Extensions(FileKind kind)
{
    QStringList extensions;
    for (const Entry& entry : kTable) {
        if (entry.kind == kind)
            extensions << QString(entry.extension);
    }
    return extensions;
}

QString FilterGroupName(FileKind kind)
{
    switch (kind) {
    case kWord:
        return u"Microsoft Word Files"_s;
    case kExcel:
        return u"Microsoft Excel Files"_s;
    case kPowerPoint:
        return u"Microsoft PowerPoint Files"_s;
    case kPicture:
        return u"Picture Files"_s;
    }
    return {};
}

QString FilterText()
{
    QString text = FilterEntry(u"All Supported Files"_s, Extensions());
    for (FileKind kind : kKinds)
        text += FilterEntry(FilterGroupName(kind), Extensions(kind));
    return text + "All Files(*.*)|*.*||"_L1;
}

} // namespace filekinds
