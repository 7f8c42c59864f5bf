#include "convert/ConversionWorker.h"

#include "convert/CBmpProgCtrl.h"
#include "convert/CConvertDlg.h"
#include "convert/CListBoxEx.h"
#include "platform/GuiThreadCall.h"
#include "platform/MessageBoxService.h"

#include <QFileInfo>

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

void ConversionWorker::AdvanceBar(qsizetype index)
{
    Step([&] {
        m_page.m_progress->m_nPos = static_cast<int>(index) + 1;
        m_page.m_progress->m_nRange = static_cast<int>(m_count);
        m_page.m_progress->m_bDrawn = 1;
        m_page.m_progress->update();
    });
}

bool ConversionWorker::Stopped()
{
    return m_page.StopRequested();
}

ConversionRun::Existing ConversionWorker::AlreadyExists(const FileResult& file, QString*)
{
    const int answer =
        MessageBox(&m_page, QStringLiteral("%1 already exists. Do you want to replace it?").arg(file.pdf),
                   QStringLiteral("Foliant 3.0"), MB_YESNO);
    return answer == IDYES ? ConversionRun::Existing::Replace : ConversionRun::Existing::Skip;
}

void ConversionWorker::Done(qsizetype index, const FileResult& file)
{
    // The bar moves for a PDF made or an old one kept; a file given up has
    // told the user why already.
    if (file.status != FileResult::Status::Made && file.status != FileResult::Status::Skipped)
        return;
    AdvanceBar(index);
    if (file.status == FileResult::Status::Made && !m_combining) {
        const QString name = OutputName(file.source);
        Step([&] { m_page.m_finishDlg.m_files.append(name); });
    }
}

ConversionSettings ConversionWorker::CombinedSettings()
{
    return m_page.RunSettingsNow();
}

void ConversionWorker::CombinedMade(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    Step([&] { m_page.m_finishDlg.m_files.append(name); });
}

void ConversionWorker::CombinedNotMade(const QString& path, const QString& why)
{
    MessageBox(&m_page, QStringLiteral("The combined PDF %1 could not be made.\n%2").arg(path, why),
               QStringLiteral("Foliant 3.0"), MB_OK | MB_ICONEXCLAMATION);
}

ConversionPage& ConversionWorker::Page()
{
    return m_page;
}

void ConversionWorker::BeginFile(const FileResult&, const QString& partPath)
{
    m_page.m_partPath = partPath;
}

bool ConversionWorker::EndFile(bool converted, FileResult*)
{
    return converted;
}

void ConversionWorker::Run()
{
    m_page.m_converting = 1;
    m_page.Sleep(100);

    QStringList sources;
    QString folder;
    if (!Step([&] {
            for (int i = 0; i < m_page.m_fileList->count(); ++i)
                sources << m_page.m_fileList->item(i)->text();
            QString& runFolder = m_page.m_finishDlg.m_folder;
            if (!runFolder.endsWith(QLatin1Char('/')))
                runFolder += QLatin1Char('/');
            folder = runFolder;
        }))
        return;
    QList<FileResult> files;
    for (const QString& source : sources) {
        FileResult file;
        file.source = source;
        file.outputFolder = folder;
        file.pdf = folder + OutputName(source);
        files << file;
    }
    m_count = files.size();
    m_combining = !m_page.m_runCombinedPath.isEmpty();

    ConversionRun run(m_page.m_converters, files, m_page.m_runCombinedPath, *this);
    run.Run({this});
    if (m_page.StopRequested())
        return;
    run.Combine();
    m_page.m_workerEnding = true;
    RunInThreadOf(&m_page, [&] { m_page.FinishRun(); });
}
