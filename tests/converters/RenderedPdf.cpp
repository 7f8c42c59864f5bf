#include "RenderedPdf.h"

#include "TestTools.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

Rendered Render(const QString& pdf, const QString& userPassword)
{
    Rendered r;
    QStringList password;
    if (!userPassword.isEmpty())
        password = {QStringLiteral("-upw"), userPassword};
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    if (testtools::RunTool(QStringLiteral("pdftoppm"),
                           password + QStringList{QStringLiteral("-r"), QStringLiteral("40"),
                                                  QStringLiteral("-f"), QStringLiteral("1"),
                                                  QStringLiteral("-l"), QStringLiteral("1"),
                                                  QStringLiteral("-png"), pdf, prefix})
            .exitCode != 0)
        return r;
    const QStringList pages = QDir(folder.path()).entryList({QStringLiteral("page*.png")});
    const QImage page(folder.filePath(pages.value(0)));
    if (page.isNull())
        return r;
    r.inkedPixels = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 200)
                ++r.inkedPixels;
    r.text = QString::fromUtf8(
        testtools::RunTool(QStringLiteral("pdftotext"), password + QStringList{pdf, QStringLiteral("-")})
            .out);
    return r;
}
