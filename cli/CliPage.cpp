#include "cli/CliPage.h"

#include "converters/FileKinds.h"
#include "pdf/GhostscriptCommandLine.h"
#include "platform/MessageBoxService.h"

#include <QThread>

#include <chrono>
#include <utility>

namespace {

thread_local CliPage* t_current = nullptr;

// The converters' waits: slept in short steps, so a stop ends them at once.
constexpr int kSleepStep = 50;

qint64 NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() + 1;
}

// An Open the office refused: the design takes it for a password.
QString NotOpened(const QString& openPassword)
{
    return openPassword.isEmpty() ? QStringLiteral("It would not open: it is damaged, or protected by a "
                                                   "password (give it with --open-password-file).")
                                  : QStringLiteral("It would not open with the password given: the "
                                                   "password is wrong, or the file is damaged.");
}

} // namespace

CliPage::CliPage(const ConversionSettings& settings, const QString& openPassword,
                 const std::atomic<bool>& runStopped)
    : m_settings(settings), m_openPassword(openPassword), m_runStopped(runStopped)
{
}

CliPage* CliPage::Current()
{
    return t_current;
}

void CliPage::BeginFile(const QString& outputFolder, int timeoutSeconds, const QString& partPath)
{
    m_partPath = partPath;
    t_current = this; // on the job's own thread: pages are made on the run's
    m_outputFolder = outputFolder;
    m_timeoutSeconds = timeoutSeconds;
    m_converted = 0;
    m_timedOut = false;
    m_pdfMade = false;
    m_pdfVersion.clear();
    m_notice.clear();
    m_passwordOffered = false;
    m_passwordReason.clear();
    QMutexLocker lock(&m_mutex);
    m_messages.clear();
    m_startedMs = NowMs();
}

double CliPage::Seconds() const
{
    const qint64 started = m_startedMs;
    return started ? (NowMs() - started) / 1000.0 : 0.0;
}

QString CliPage::Reason() const
{
    if (m_timedOut)
        return QStringLiteral("It did not finish within the time limit (%1 s) and was ended.")
            .arg(m_timeoutSeconds);
    if (m_runStopped)
        return QStringLiteral("Stopped.");
    QMutexLocker lock(&m_mutex);
    if (!m_passwordReason.isEmpty())
        return m_passwordReason;
    QStringList lines;
    for (const QString& message : m_messages)
        lines << message.simplified();
    return lines.join(u' ');
}

void CliPage::EndIfOverdue()
{
    const qint64 started = m_startedMs;
    if (m_timeoutSeconds <= 0 || m_timedOut || started == 0 || NowMs() - started < m_timeoutSeconds * 1000LL)
        return;
    m_timedOut = true;
    EndCurrentProgram();
}

void CliPage::EndCurrentProgram()
{
    QMutexLocker lock(&m_mutex);
    if (m_ender)
        m_ender();
}

int CliPage::Answer(const QString& text, unsigned type)
{
    // The one question the converters ask is whether to try another
    // password: yes while the given one has not been tried on this file.
    if ((type & MB_TYPEMASK) == MB_YESNO) {
        const bool tryPassword = !m_openPassword.isEmpty() && !m_passwordOffered;
        if (!tryPassword)
            m_passwordReason = NotOpened(m_openPassword);
        return tryPassword ? IDYES : IDNO;
    }
    QMutexLocker lock(&m_mutex);
    m_messages << text;
    return DismissAnswer(type);
}

bool CliPage::TakePrintTurn()
{
    if (!m_takeTurn)
        return true;
    // The files ahead are not this file's time: its limit and its seconds
    // count from its start without the wait.
    const qint64 started = m_startedMs.exchange(0);
    const qint64 waitBegan = NowMs();
    const bool taken = m_takeTurn();
    if (started != 0)
        m_startedMs = started + (NowMs() - waitBegan);
    return taken;
}

PdfOutcome CliPage::MakePdfFromSpool(const QString& sourcePath)
{
    // The spool is complete: the next file may print while Ghostscript reads it.
    if (const std::function<void()> printed = std::exchange(m_printed, {}))
        printed();
    GhostscriptOptions options;
    options.stopRequested = [this] { return StopRequested(); };
    options.partPath = m_partPath;
    options.picture = filekinds::KindOf(sourcePath) == FileKind::Picture;
    QString why;
    options.scratchFolder = m_scratch.Path(&why);
    PdfOutcome outcome;
    if (options.scratchFolder.isEmpty()) {
        outcome.failure = PdfOutcome::Failure::ScratchFiles;
        outcome.pdfPath = PdfOutputPath(m_outputFolder, sourcePath);
        outcome.reason = why;
    } else {
        outcome = ::MakePdfFromSpool(m_settings, sourcePath, m_outputFolder, options);
    }
    m_pdfMade = outcome.made;
    m_pdfVersion = outcome.pdfVersion;
    m_notice = outcome.notice;
    return outcome;
}

bool CliPage::EnterPassword(const QString&, QString* password)
{
    if (StopRequested() || m_openPassword.isEmpty() || m_passwordOffered) {
        m_passwordReason = NotOpened(m_openPassword);
        return false;
    }
    m_passwordOffered = true;
    *password = m_openPassword;
    return true;
}

void CliPage::SetCurrentProgramEnder(std::function<void()> ender)
{
    QMutexLocker lock(&m_mutex);
    m_ender = std::move(ender);
}

void CliPage::Sleep(int milliseconds)
{
    for (int slept = 0; slept < milliseconds && !StopRequested(); slept += kSleepStep)
        QThread::msleep(static_cast<unsigned long>(qMin(kSleepStep, milliseconds - slept)));
}
