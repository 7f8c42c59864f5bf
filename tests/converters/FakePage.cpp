#include "FakePage.h"

FakePage::FakePage(EventLog& log) : m_log(log), m_previousBoxes(SetMessageBoxService(this))
{
    pdfOutcome.made = true;
}

FakePage::~FakePage()
{
    SetMessageBoxService(m_previousBoxes);
}

PdfOutcome FakePage::MakePdfFromSpool(const QString& sourcePath)
{
    m_log.Add(QStringLiteral("MakePdfFromSpool %1 (converted %2)").arg(sourcePath).arg(m_converted));
    if (stopInPdfStep) {
        Stop();
        PdfOutcome stopped;
        stopped.failure = PdfOutcome::Failure::Stopped;
        stopped.stopped = true;
        stopped.reason = QStringLiteral("Stopped.");
        return stopped;
    }
    return pdfOutcome;
}

void FakePage::SetTimer(int id, int milliseconds)
{
    m_log.Add(QStringLiteral("SetTimer %1 %2").arg(id).arg(milliseconds));
}

void FakePage::KillTimer(int id)
{
    m_log.Add(QStringLiteral("KillTimer %1").arg(id));
}

bool FakePage::EnterPassword(const QString& fileName, QString* password)
{
    m_log.Add(QStringLiteral("EnterPassword %1").arg(fileName));
    const std::optional<QString> answer = passwords.isEmpty() ? std::nullopt : passwords.dequeue();
    if (answer && password)
        *password = *answer;
    return answer.has_value();
}

bool FakePage::StopRequested()
{
    return m_stopped;
}

void FakePage::SetCurrentProgramEnder(std::function<void()> ender)
{
    m_log.Add(ender ? QStringLiteral("ender set") : QStringLiteral("ender cleared"));
    m_ender = std::move(ender);
}

void FakePage::Sleep(int milliseconds)
{
    m_log.Add(QStringLiteral("Sleep %1").arg(milliseconds));
}

ConversionPage::WaitEnd FakePage::WaitUntil(const std::function<bool()>& done, int limitMilliseconds)
{
    m_log.Add(QStringLiteral("WaitUntil %1").arg(limitMilliseconds));
    const bool stopHere = ++m_waits == stopAtWait;
    for (int polls = 0;; ++polls) {
        if (done())
            return WaitEnd::Done;
        if (stopHere && !m_stopped)
            Stop();
        if (m_stopped)
            return WaitEnd::Stopped;
        if (polls == pollsBeforeLimit)
            return WaitEnd::TimedOut;
    }
}

bool FakePage::TakePrintTurn()
{
    if (!printTurn)
        return true;
    m_log.Add(QStringLiteral("TakePrintTurn"));
    if (!*printTurn)
        Stop();
    return *printTurn;
}

void FakePage::Stop()
{
    m_log.Add(QStringLiteral("stopped"));
    m_stopped = true;
    if (m_ender)
        m_ender();
}

int FakePage::Show(const MessageBoxRequest& request)
{
    const QString line =
        QStringLiteral("%1|0x%2|%3").arg(request.caption).arg(request.type, 0, 16).arg(request.text);
    m_log.Add(QStringLiteral("box ") + line);
    m_boxes << line;
    if (request.Buttons() == MB_OK)
        return IDOK;
    return answers.isEmpty() ? DismissAnswer(request.type) : answers.dequeue();
}
