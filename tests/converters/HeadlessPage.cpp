#include "HeadlessPage.h"

#include "converters/CEnterPassWordDlg.h"
#include "pdf/EffectivePdfVersion.h"
#include "pdf/GhostscriptRunner.h"

#include <QThread>

HeadlessPage::HeadlessPage(const QString& outputFolder) : m_outputFolder(outputFolder) {}

HeadlessPage::~HeadlessPage() = default;

PdfOutcome HeadlessPage::MakePdfFromSpool(const QString& sourcePath)
{
    GhostscriptOptions options;
    options.stopRequested = [this]() { return m_stopped.load(); };
    options.scratchFolder = m_scratch.Path();
    return ::MakePdfFromSpool(settings, sourcePath, m_outputFolder, options);
}

QString HeadlessPage::PdfCompatibilityLevel()
{
    return EffectiveCompatibilityLevel(settings);
}

void HeadlessPage::SetTimer(int id, int milliseconds)
{
    QMutexLocker lock(&m_mutex);
    m_timers << QStringLiteral("SetTimer %1 %2").arg(id).arg(milliseconds);
}

void HeadlessPage::KillTimer(int id)
{
    QMutexLocker lock(&m_mutex);
    m_timers << QStringLiteral("KillTimer %1").arg(id);
}

QStringList HeadlessPage::Timers() const
{
    QMutexLocker lock(&m_mutex);
    return m_timers;
}

bool HeadlessPage::EnterPassword(const QString& fileName, QString* password)
{
    return PromptForPassword(&m_window, fileName, password);
}

void HeadlessPage::SetCurrentProgramEnder(std::function<void()> ender)
{
    QMutexLocker lock(&m_mutex);
    m_ender = std::move(ender);
}

void HeadlessPage::Sleep(int milliseconds)
{
    // Cut short by a stop.
    for (int slept = 0; slept < milliseconds && !m_stopped; slept += 10)
        QThread::msleep(qMin(10, milliseconds - slept));
}

ConversionPage::WaitEnd HeadlessPage::WaitUntil(const std::function<bool()>& done, int limitMilliseconds)
{
    if (++m_waits == stopAtWait)
        QMetaObject::invokeMethod(
            this, [this]() { StopOnGuiThread(); }, Qt::BlockingQueuedConnection);
    return ConversionPage::WaitUntil(done, limitMilliseconds);
}

void HeadlessPage::StopOnGuiThread()
{
    std::function<void()> ender;
    {
        QMutexLocker lock(&m_mutex);
        ender = m_ender;
    }
    // The program is ended first, while the worker still sleeps in its call.
    if (ender)
        ender();
    m_stopped = true;
}
