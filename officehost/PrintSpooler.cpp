#include "officehost/PrintSpooler.h"

#include "officehost/OfficeDocument.h"
#include "platform/ProcessRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <sys/prctl.h>

#include <csignal>

namespace {

int g_filterTimeLimit = 10 * 60 * 1000;

} // namespace

PrintSpooler::PrintSpooler(const QString& scratchFolder, QObject* parent)
    : QObject(parent), m_scratchFolder(scratchFolder)
{
}

PrintSpooler::~PrintSpooler() = default;

void PrintSpooler::SetFilterTimeLimit(int milliseconds)
{
    g_filterTimeLimit = milliseconds;
}

bool PrintSpooler::Render(OfficeDocument& document, const QString& pdfPath, QString* why)
{
    return document.ExportPdf(pdfPath, why);
}

QProcess* PrintSpooler::StartFilter(const QString& pdfPath, const QString& partPath, QString* why)
{
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty()) {
        *why = QStringLiteral("The printer filter (Ghostscript) is not installed.");
        return nullptr;
    }
    auto* filter = new QProcess(this);
    // Nothing from outside may change how Ghostscript runs (GS_OPTIONS, GS_LIB).
    // Its temporary files stay in the host's own scratch folder, removed with it.
    filter->setProcessEnvironment(RestrictedEnvironment(QFileInfo(partPath).absolutePath()));
    filter->setChildProcessModifier([]() { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    filter->setProcessChannelMode(QProcess::MergedChannels);
    filter->start(gs, {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                       QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=ps2write"),
                       QStringLiteral("-sOutputFile=") + partPath, QStringLiteral("-f"), pdfPath});
    return filter;
}

bool PrintSpooler::Finish(QProcess* filter, const QString& pdfPath, const QString& partPath,
                          const QString& printFile, QString* why)
{
    bool ok = filter->exitStatus() == QProcess::NormalExit && filter->exitCode() == 0 &&
              QFileInfo(partPath).size() > 0;
    if (!ok)
        *why = QStringLiteral("The printer filter failed: %1")
                   .arg(QString::fromLocal8Bit(filter->readAll()).trimmed());
    QFile::remove(pdfPath);
    if (ok) {
        QFile::remove(printFile);
        ok = QFile::rename(partPath, printFile);
        if (!ok)
            *why = QStringLiteral("The print file %1 could not be written.").arg(printFile);
    }
    QFile::remove(partPath);
    filter->deleteLater();
    return ok;
}

bool PrintSpooler::Print(const std::shared_ptr<OfficeDocument>& document, const QString& printFile,
                         bool background, QString* why)
{
    const QString target = QFileInfo(printFile).absoluteFilePath();
    const QString partPath = target + QStringLiteral(".part%1").arg(QCoreApplication::applicationPid());
    const QString pdfPath = m_scratchFolder + QStringLiteral("/job%1.pdf").arg(++m_sequence);
    {
        // The file is opened for writing before any work: an unwritable print
        // file fails the print request itself, as a printer's would.
        QFile part(partPath);
        if (!part.open(QIODevice::WriteOnly)) {
            *why = QStringLiteral("The print file %1 could not be written.").arg(printFile);
            return false;
        }
    }
    // Whatever an earlier job left there goes now: a job that fails leaves no
    // print file at all, never the previous document's.
    QFile::remove(target);
    auto run = [this, document, target, partPath, pdfPath](QString* reason) -> QProcess* {
        if (!Render(*document, pdfPath, reason)) {
            QFile::remove(partPath);
            return nullptr;
        }
        QProcess* filter = StartFilter(pdfPath, partPath, reason);
        if (!filter || !filter->waitForStarted()) {
            if (filter)
                *reason = QStringLiteral("The printer filter could not be started.");
            QFile::remove(pdfPath);
            QFile::remove(partPath);
            delete filter;
            return nullptr;
        }
        return filter;
    };
    if (!background) {
        QProcess* filter = run(why);
        if (!filter)
            return false;
        if (!filter->waitForFinished(g_filterTimeLimit)) {
            filter->kill();
            filter->waitForFinished();
        }
        return Finish(filter, pdfPath, partPath, target, why);
    }
    // A background job renders once the answer to the print request is on
    // its way, and counts as running until its file is complete.
    ++m_running;
    QTimer::singleShot(0, this, [this, run, pdfPath, partPath, target]() {
        QString reason;
        QProcess* filter = run(&reason);
        if (!filter) {
            --m_running;
            qWarning("Background print failed: %s", qPrintable(reason));
            return;
        }
        auto* limit = new QTimer(filter);
        limit->setSingleShot(true);
        connect(limit, &QTimer::timeout, filter, &QProcess::kill);
        limit->start(g_filterTimeLimit);
        connect(filter, &QProcess::finished, this, [this, filter, pdfPath, partPath, target]() {
            QString failure;
            if (!Finish(filter, pdfPath, partPath, target, &failure))
                qWarning("Background print failed: %s", qPrintable(failure));
            --m_running;
        });
    });
    return true;
}

bool PrintSpooler::WaitForAll(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (m_running > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    return m_running == 0;
}
