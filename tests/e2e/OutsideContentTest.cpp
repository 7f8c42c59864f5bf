// Documents that point outside themselves (remote pictures, stylesheets and
// frames, linked pictures, sections and objects, fields, DDE, external
// references, WEBSERVICE) converted by the window and by foliant-convert:
// nothing is asked of a listener on 127.0.0.1, nothing of the user's files
// planted beside them reaches a PDF, and the links a document only shows
// stay links.

#include "CountingListener.h"
#include "FoliantSession.h"
#include "TestTools.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace {

// As make_outside_documents.py plants them.
const QString kPlantedText = QStringLiteral("plantedsecret");
const QString kOwnText = QStringLiteral("owntext");
const QColor kPlantedColour(13, 177, 91);

const QStringList kDocuments{"page.html", "flat.fodt",     "zipped.odt", "word.docx",
                             "book.xlsx", "flatbook.fods", "slides.pptx"};

QByteArray PlantedPicture()
{
    QImage picture(97, 53, QImage::Format_RGB32);
    picture.fill(kPlantedColour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

// Pixels of the planted colour on every page of the PDF (a little off, as a
// picture's compression leaves it); -1 when it could not be rendered.
int PlantedPixels(const QString& pdf, const QString& folder)
{
    const QString prefix = QDir(folder).filePath(QFileInfo(pdf).completeBaseName());
    if (testtools::RunTool(QStringLiteral("pdftoppm"),
                           {QStringLiteral("-r"), QStringLiteral("36"), QStringLiteral("-png"), pdf, prefix})
            .exitCode != 0)
        return -1;
    int count = 0;
    const QFileInfoList pages =
        QDir(folder).entryInfoList({QFileInfo(prefix).fileName() + QStringLiteral("-*.png")}, QDir::Files);
    for (const QFileInfo& page : pages) {
        const QImage image(page.filePath());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - kPlantedColour.red()) < 16 &&
                    std::abs(c.green() - kPlantedColour.green()) < 16 &&
                    std::abs(c.blue() - kPlantedColour.blue()) < 16)
                    ++count;
            }
    }
    return pages.isEmpty() ? -1 : count;
}

// The addresses of the PDF's link annotations, as qpdf writes them out uncompressed.
bool HasLinkTo(const QString& pdf, const QString& address, const QString& folder)
{
    const QString plain = QDir(folder).filePath(QFileInfo(pdf).completeBaseName() + QStringLiteral(".qdf"));
    testtools::RunTool(QStringLiteral("qpdf"),
                       {QStringLiteral("--qdf"), QStringLiteral("--object-streams=disable"), pdf, plain});
    const QByteArray bytes = testtools::ReadFile(plain);
    return bytes.contains("/S /URI") && bytes.contains("(" + address.toLatin1() + ")");
}

class OutsideContentRun : public FoliantSession
{
protected:
    // What both front ends must make of every document in folder.
    void CheckPdfs(const QString& folder, const QString& label)
    {
        const QString pages = m_work.filePath(QStringLiteral("pages-") + label);
        ASSERT_TRUE(QDir().mkpath(pages));
        for (const QString& name : kDocuments) {
            SCOPED_TRACE((label + QStringLiteral(": ") + name).toStdString());
            const QString pdf =
                QDir(folder).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".pdf"));
            ASSERT_TRUE(QFileInfo::exists(pdf));
            const QString words = testtools::PdfWords(pdf).join(u' ');
            const QString own = kOwnText + QString(name).remove(u'.');
            EXPECT_TRUE(words.contains(own)) << "the document's own text is shown: " << words.toStdString();
            EXPECT_FALSE(words.contains(kPlantedText)) << words.toStdString();
            EXPECT_FALSE(words.contains(QLatin1String(CountingListener::kRemoteText))) << words.toStdString();
            EXPECT_EQ(PlantedPixels(pdf, pages), 0) << "no pixel of the planted picture";
            // LibreOffice leaves the hyperlink of this hand-made .docx out
            // of its PDF whether links are followed or not; a Word file's
            // link is kept (the office host's PDF job test).
            if (name.endsWith(u".docx"))
                continue;
            EXPECT_TRUE(HasLinkTo(pdf,
                                  QStringLiteral("http://127.0.0.1:%1/shown-").arg(m_listener.Port()) +
                                      QString(name).remove(u'.'),
                                  pages))
                << "the shown hyperlink is still a link";
        }
    }

    CountingListener m_listener{PlantedPicture()};
};

TEST_F(OutsideContentRun, NoDocumentReachesTheNetworkOrTheUsersFiles)
{
    ASSERT_NE(m_listener.Port(), 0);
    const auto made = testtools::RunTool(QStringLiteral("/usr/bin/python3"),
                                         {QStringLiteral(FOLIANT_E2E_SOURCE_DIR "/make_outside_documents.py"),
                                          InputFolder(), QString::number(m_listener.Port())});
    ASSERT_EQ(made.exitCode, 0) << made.err.constData();
    QStringList paths;
    for (const QString& name : kDocuments)
        paths << QDir(InputFolder()).filePath(name);

    // The window.
    Drop(paths);
    SetOutputFolder(OutputFolder());
    ConvertAndWait();
    WaitForCompletion(1);
    EXPECT_EQ(m_completion->listed.size(), kDocuments.size()) << m_boxes.Texts().join(u'\n').toStdString();

    // foliant-convert.
    const QString cliOut = m_work.filePath(QStringLiteral("cli"));
    ASSERT_TRUE(QDir().mkpath(cliOut));
    const auto run = testtools::RunTool(testtools::ProgramDir() + QStringLiteral("/foliant-convert"),
                                        QStringList{"-o", cliOut} + paths, 300000);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();

    // foliant-convert where the kernel gives the office no network of its
    // own: its settings alone hold the links back.
    const QString settingsOut = m_work.filePath(QStringLiteral("settings-only"));
    ASSERT_TRUE(QDir().mkpath(settingsOut));
    const auto refused = testtools::RunTool(
        QStringLiteral(FOLIANT_WITHOUT_NAMESPACES),
        QStringList{testtools::ProgramDir() + QStringLiteral("/foliant-convert"), "-o", settingsOut} + paths,
        300000);
    EXPECT_EQ(refused.exitCode, 0) << refused.err.constData();

    EXPECT_EQ(m_listener.Connections(), 0) << m_listener.Requests().join(u'\n').toStdString();
    CheckPdfs(OutputFolder(), QStringLiteral("window"));
    CheckPdfs(cliOut, QStringLiteral("cli"));
    CheckPdfs(settingsOut, QStringLiteral("settings-only"));
}

} // namespace
