#include "platform/PaperSize.h"

#include <QFile>

#include <array>
#include <utility>

namespace {

struct KnownPaper
{
    const char* name;
    double width;
    double height;
};

// The common sizes of the paper library's table, in points.
constexpr std::array kPapers{
    KnownPaper{"a3", 841.89, 1190.55},  KnownPaper{"a4", 595.276, 841.89},
    KnownPaper{"a5", 419.528, 595.276}, KnownPaper{"b4", 708.661, 1000.63},
    KnownPaper{"b5", 498.898, 708.661}, KnownPaper{"letter", 612, 792},
    KnownPaper{"legal", 612, 1008},     KnownPaper{"executive", 522, 756},
    KnownPaper{"tabloid", 792, 1224},   KnownPaper{"11x17", 792, 1224},
    KnownPaper{"ledger", 1224, 792},    KnownPaper{"statement", 396, 612},
    KnownPaper{"halfletter", 396, 612}, KnownPaper{"folio", 612, 936},
};

// The first word of the file that is not a comment, as the paper library reads it.
QString NameFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        return line.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
    }
    return {};
}

} // namespace

PaperSize::PaperSize(QString name, double widthPoints, double heightPoints)
    : m_name(std::move(name)), m_widthPoints(widthPoints), m_heightPoints(heightPoints)
{
}

PaperSize PaperSize::A4()
{
    return PaperSize(QStringLiteral("a4"), 595.276, 841.89);
}

PaperSize PaperSize::FromName(const QString& name, bool* known)
{
    const QString wanted = name.trimmed().toLower();
    for (const KnownPaper& paper : kPapers) {
        if (wanted == QLatin1String(paper.name)) {
            if (known)
                *known = true;
            return PaperSize(wanted, paper.width, paper.height);
        }
    }
    if (known)
        *known = false;
    return A4();
}

PaperSize PaperSize::System(const QString& configurationFile)
{
    QString name = qEnvironmentVariable("PAPERSIZE").trimmed();
    if (name.isEmpty() && qEnvironmentVariableIsSet("PAPERCONF"))
        name = NameFromFile(qEnvironmentVariable("PAPERCONF"));
    if (name.isEmpty())
        name = NameFromFile(configurationFile);
    return FromName(name);
}
