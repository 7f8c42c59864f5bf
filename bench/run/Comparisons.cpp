#include "Comparisons.h"

#include "TestTools.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QUrl>

namespace comparisons {

namespace {

constexpr int kLimitMs = 600000;

int PdfsMade(const QStringList& sources, const QString& outputFolder)
{
    int made = 0;
    for (const QString& source : sources)
        if (QFileInfo(QDir(outputFolder).filePath(QFileInfo(source).completeBaseName() + ".pdf")).size() > 0)
            ++made;
    return made;
}

Timed Run(const QString& program, const QStringList& arguments, const QStringList& sources,
          const QString& outputFolder)
{
    QElapsedTimer clock;
    clock.start();
    testtools::RunTool(program, arguments, kLimitMs);
    Timed timed;
    timed.seconds = clock.nsecsElapsed() / 1e9;
    timed.made = PdfsMade(sources, outputFolder);
    return timed;
}

} // namespace

Soffice::Soffice(const QString& profileFolder) : m_profileUrl(QUrl::fromLocalFile(profileFolder).toString())
{
}

bool Soffice::Available() const
{
    return testtools::HaveTool(QStringLiteral("soffice"));
}

void Soffice::WarmUp(const QString& file, const QString& outputFolder) const
{
    Convert({file}, outputFolder);
}

Timed Soffice::Convert(const QStringList& files, const QString& outputFolder) const
{
    const QStringList arguments = QStringList{QStringLiteral("--headless"),
                                              QStringLiteral("--norestore"),
                                              QStringLiteral("-env:UserInstallation=") + m_profileUrl,
                                              QStringLiteral("--convert-to"),
                                              QStringLiteral("pdf"),
                                              QStringLiteral("--outdir"),
                                              outputFolder} +
                                  files;
    return Run(QStringLiteral("soffice"), arguments, files, outputFolder);
}

bool HaveImg2pdf()
{
    return testtools::HaveTool(QStringLiteral("img2pdf"));
}

Timed Img2pdf(const QString& picture, const QString& outputFolder)
{
    const QString pdf = QDir(outputFolder).filePath(QFileInfo(picture).completeBaseName() + ".pdf");
    return Run(QStringLiteral("img2pdf"), {picture, QStringLiteral("-o"), pdf}, {picture}, outputFolder);
}

} // namespace comparisons
