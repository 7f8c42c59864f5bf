#include "convert/ConversionWorker.h"

#include "convert/CBmpProgCtrl.h"
#include "convert/CConvertDlg.h"
#include "convert/CListBoxEx.h"
#include "converters/FileKinds.h"
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
    const ConverterSet& converters = m_page.m_converters;
    const std::optional<FileKind> kind = filekinds::KindOf(sourcePath);
    if (kind == FileKind::Picture)
        return converters.picture && converters.picture(m_page, sourcePath);

    // Each Office converter leaves the flag for its own file; a converter
    // that returns early without a word must not inherit the last file's 1.
    // What is neither a picture nor a workbook nor a presentation goes to
    // Word, whose own check refuses what it does not take.
    m_page.SetConverted(0);
    const auto& office = kind == FileKind::PowerPoint ? converters.powerPoint
                         : kind == FileKind::Excel    ? converters.excel
                                                      : converters.word;
    if (office)
        office(m_page, sourcePath);
    return m_page.Converted() == 1;
}

void ConversionWorker::Run()
{
    m_page.m_converting = 1;
    m_page.Sleep(100);

    int count = 0;
    if (!Step([&] { count = m_page.m_fileList->count(); }))
        return;

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

        if (QFileInfo::exists(outputPath)) {
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
        const QString& path = sourcePath;
        if (m_page.StopRequested())
            return;
        const bool made = Convert(path);
        if (m_page.StopRequested())
            return;
        if (made) {
            AdvanceBar(i, count);
            Record(path);
        }
    }

    if (m_page.StopRequested())
        return;
    RunInThreadOf(&m_page, [&] { m_page.FinishRun(); });
}
