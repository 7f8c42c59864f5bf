#include "convert/ConversionWorker.h"

#include "convert/CBmpProgCtrl.h"
#include "convert/CConvertDlg.h"
#include "convert/CListBoxEx.h"
#include "converters/Converters.h"
#include "converters/FileKinds.h"
#include "platform/GuiThreadCall.h"
#include "platform/MessageBoxService.h"
#include "platform/WarmOfficeConnection.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace {

void TellCombinedNotMade(CConvertDlg& page, const QString& combinedPath, const QString& why)
{
    MessageBox(&page, QStringLiteral("The combined PDF %1 could not be made.\n%2").arg(combinedPath, why),
               QStringLiteral("Foliant 3.0"), MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

ConversionWorker::ConversionWorker(CConvertDlg& page) : m_page(page) {}

QString ConversionWorker::OutputName(const QString& sourcePath)
{
    const qsizetype dot = sourcePath.lastIndexOf(QLatin1Char('.'));
    const QString name = (dot < 0 ? sourcePath : sourcePath.left(dot)) + QStringLiteral(".pdf");
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

bool ConversionWorker::Step(const std::function<void()>& fn)
{
    if (m_page.StopRequested())
        return false;
    bool done = false;
    // Checked again on the GUI thread: a Stop confirmed while this call
    // waited in the queue leaves the page as the Stop left it.
    RunInThreadOf(&m_page, [&] {
        if (!m_page.RunIsLive())
            return;
        fn();
        done = true;
    });
    return done;
}

void ConversionWorker::AdvanceBar(int index, int count)
{
    Step([&] {
        m_page.m_progress->m_nPos = index + 1;
        m_page.m_progress->m_nRange = count;
        m_page.m_progress->m_bDrawn = 1;
        m_page.m_progress->update();
    });
}

void ConversionWorker::Record(const QString& sourcePath)
{
    const QString name = OutputName(sourcePath);
    Step([&] { m_page.m_finishDlg.m_files.append(name); });
}

bool ConversionWorker::Convert(const QString& sourcePath)
{
    return ConvertByKind(m_page.m_converters, m_page, sourcePath);
}

void ConversionWorker::Combine(const QList<PdfCombiner::Part>& parts)
{
    const QString path = m_page.m_runCombinedPath;
    QString why;
    if (PdfCombiner::MakeCombinedPdf(parts, path, m_page.RunSettingsNow(), &why)) {
        const QString name = QFileInfo(path).fileName();
        Step([&] { m_page.m_finishDlg.m_files.append(name); });
        return;
    }
    if (!m_page.StopRequested())
        TellCombinedNotMade(m_page, path, why);
}

void ConversionWorker::Run()
{
    m_page.m_converting = 1;
    m_page.Sleep(100);

    int count = 0;
    QStringList files;
    if (!Step([&] {
            count = m_page.m_fileList->count();
            for (int i = 0; i < count; ++i)
                files << m_page.m_fileList->item(i)->text();
        }))
        return;
    WarmOfficeConnection::Instance().SetOfficeFilesAhead(filekinds::OfficeFileCount(files));

    // Combining: each file's PDF is a part in a folder of the run beside the
    // combined PDF, removed with everything in it when the run ends.
    const bool combining = !m_page.m_runCombinedPath.isEmpty();
    std::unique_ptr<QTemporaryDir> partsFolder;
    QList<PdfCombiner::Part> parts;
    if (combining) {
        partsFolder = PdfCombiner::PartsFolder(m_page.m_runCombinedPath);
        if (!partsFolder->isValid()) {
            TellCombinedNotMade(m_page, m_page.m_runCombinedPath, partsFolder->errorString());
            count = 0;
        }
    }

    for (int i = 0; i < count; ++i) {
        QString sourcePath;
        QString folder;
        const bool read = Step([&] {
            if (QListWidgetItem* entry = m_page.m_fileList->item(i))
                sourcePath = entry->text();
            QString& runFolder = m_page.m_finishDlg.m_folder;
            if (!runFolder.endsWith(QLatin1Char('/')))
                runFolder += QLatin1Char('/');
            folder = runFolder;
        });
        if (!read)
            return;
        const QString outputPath = folder + OutputName(sourcePath);

        if (!combining && QFileInfo::exists(outputPath)) {
            if (m_page.StopRequested())
                return;
            const int answer = MessageBox(
                &m_page, QStringLiteral("%1 already exists. Do you want to replace it?").arg(outputPath),
                QStringLiteral("Foliant 3.0"), MB_YESNO);
            // Yes keeps the old PDF until the new one is complete: the PDF
            // step renames the finished file over it.
            if (answer != IDYES) {
                AdvanceBar(i, count);
                continue;
            }
        }

        // The converters get the path as listed: the file is found under its
        // own name, and the table of kinds ignores the extension's case.
        if (m_page.StopRequested())
            return;
        if (combining)
            m_page.m_partPath = PdfCombiner::PartPath(*partsFolder, i);
        const bool made = Convert(sourcePath);
        if (m_page.StopRequested())
            return;
        if (made) {
            AdvanceBar(i, count);
            if (combining)
                parts.append({m_page.m_partPath, QFileInfo(sourcePath).fileName()});
            else
                Record(sourcePath);
        }
    }

    if (m_page.StopRequested())
        return;
    if (!parts.isEmpty())
        Combine(parts);
    partsFolder.reset();
    RunInThreadOf(&m_page, [&] { m_page.FinishRun(); });
}
