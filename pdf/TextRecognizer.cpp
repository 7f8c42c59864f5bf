#include "pdf/TextRecognizer.h"

#include "platform/ProcessRunner.h"

#include <QFile>
#include <QStandardPaths>

namespace {

// Tesseract's resolution bounds: below it guesses its own, above it refuses.
constexpr int kLeastDpi = 70;
constexpr int kMostDpi = 2400;

// What Tesseract said last: its error is at the end.
QString LastLines(const QByteArray& output)
{
    QStringList lines;
    for (const QString& raw : QString::fromLocal8Bit(output).split(u'\n')) {
        const QString line = raw.trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1String("Tesseract Open Source OCR Engine")))
            lines << line;
    }
    QString text = lines.mid(qMax<qsizetype>(0, lines.size() - 3)).join(u' ');
    if (text.size() > 500)
        text = text.left(500) + QStringLiteral("...");
    return text;
}

QString Duration(int ms)
{
    const int seconds = ms / 1000;
    return seconds >= 60 && seconds % 60 == 0 ? QStringLiteral("%1 minutes").arg(seconds / 60)
                                              : QStringLiteral("%1 seconds").arg(seconds);
}

} // namespace

TextRecognizer::TextRecognizer(Options options) : m_options(std::move(options)) {}

QString TextRecognizer::FindTesseract()
{
    return QStandardPaths::findExecutable(QStringLiteral("tesseract"));
}

TextRecognizer::Result TextRecognizer::Recognize(const QString& imagePath, int dpi, const QString& outputBase,
                                                 const QString& workFolder) const
{
    Result outcome;
    ProcessRequest request;
    request.program = m_options.executable.isEmpty() ? FindTesseract() : m_options.executable;
    if (request.program.isEmpty()) {
        outcome.reason = QStringLiteral("Tesseract, which recognises the text, is not installed.");
        return outcome;
    }
    // Page segmentation 1: the whole page, turned upright first when it
    // lies on its side or upside down. "pdf" and "txt" name its output
    // configurations; the PDF holds the words only.
    request.arguments = {imagePath,
                         outputBase,
                         QStringLiteral("--dpi"),
                         QString::number(qBound(kLeastDpi, dpi, kMostDpi)),
                         QStringLiteral("-l"),
                         m_options.languages,
                         QStringLiteral("--psm"),
                         QStringLiteral("1"),
                         QStringLiteral("-c"),
                         QStringLiteral("textonly_pdf=1"),
                         QStringLiteral("pdf"),
                         QStringLiteral("txt")};
    request.environment = RestrictedEnvironment(workFolder);
    // One thread: Tesseract's extra threads wait busily for each other and
    // cost more than they gain, the more so when jobs share the cores.
    request.environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    request.timeoutMs = m_options.timeoutMs;
    request.stopRequested = m_options.stopRequested;
    ProcessRunner& runner = m_options.runner ? *m_options.runner : ProcessRunner::System();
    const ProcessResult result = runner.Run(request);

    const QString said = LastLines(result.standardError + '\n' + result.standardOutput);
    switch (result.status) {
    case ProcessResult::Status::FailedToStart:
        outcome.reason = QStringLiteral("Tesseract could not be started: %1").arg(result.startError);
        return outcome;
    case ProcessResult::Status::TimedOut:
        outcome.reason = QStringLiteral("Tesseract did not finish within %1 and was ended.")
                             .arg(Duration(m_options.timeoutMs));
        return outcome;
    case ProcessResult::Status::Stopped:
        outcome.status = Result::Status::Stopped;
        outcome.reason = QStringLiteral("Stopped.");
        return outcome;
    case ProcessResult::Status::Crashed:
        outcome.reason = QStringLiteral("Tesseract ended abnormally.");
        return outcome;
    case ProcessResult::Status::Finished:
        break;
    }
    const QString pdf = outputBase + QStringLiteral(".pdf");
    if (result.exitCode != 0 || !QFile::exists(pdf)) {
        outcome.reason = said.isEmpty()
                             ? QStringLiteral("Tesseract ended with exit code %1.").arg(result.exitCode)
                             : QStringLiteral("Tesseract: %1").arg(said);
        return outcome;
    }
    QFile text(outputBase + QStringLiteral(".txt"));
    outcome.words = text.open(QIODevice::ReadOnly) && !text.readAll().trimmed().isEmpty();
    outcome.status = Result::Status::Recognized;
    outcome.textPdf = pdf;
    return outcome;
}
