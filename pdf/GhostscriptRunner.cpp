#include "pdf/GhostscriptRunner.h"

#include "pdf/AdvancedSettingsReader.h"
#include "pdf/ArchiveFormat.h"
#include "pdf/CompletedPdf.h"
#include "pdf/EffectivePdfVersion.h"
#include "pdf/GhostscriptArguments.h"
#include "pdf/GhostscriptCommandLine.h"
#include "pdf/KeptJpegs.h"
#include "pdf/PdfEncryption.h"
#include "pdf/PdfmarksFile.h"
#include "pdf/PictureTextStep.h"
#include "pdf/PrintableLinks.h"
#include "pdf/SpoolTextMaps.h"
#include "pdf/TaggedOfficePdf.h"
#include "pdf/TaggedPdf.h"
#include "pdf/WarmGhostscriptArguments.h"
#include "platform/LinkSafeFiles.h"
#include "platform/PdfDrawingFacts.h"
#include "platform/ProcessRunner.h"
#include "platform/ScratchFolder.h"
#include "platform/WarmGhostscriptConnection.h"
#include "platform/WindowsCommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace {

ProcessRunner& RunnerOf(const GhostscriptOptions& options)
{
    return options.runner ? *options.runner : ProcessRunner::System();
}

// The warm Ghostscript makes the PDF where it can: this system's
// Ghostscript, run as the gs program runs it. Otherwise the program runs.
ProcessResult RunGhostscript(const ProcessRequest& request, const QString& temporaryFolder,
                             const GhostscriptOptions& options)
{
    static const QString kSystemGhostscript =
        QFileInfo(WarmGhostscriptConnection::SystemProgram()).canonicalFilePath();
    const bool systemGhostscript = !options.runner && options.executable.isEmpty() &&
                                   QFileInfo(request.program).canonicalFilePath() == kSystemGhostscript;
    if (systemGhostscript) {
        if (const std::optional<WarmGhostscriptJob> job =
                WarmGhostscriptJobFor(request.arguments, temporaryFolder)) {
            if (std::optional<ProcessResult> result =
                    WarmGhostscriptConnection::Instance().Run(*job, request.timeoutMs, request.stopRequested))
                return *result;
        }
    }
    return RunnerOf(options).Run(request);
}

PdfOutcome Failure(PdfOutcome::Failure kind, const QString& pdfPath, const QString& reason)
{
    PdfOutcome outcome;
    outcome.failure = kind;
    outcome.stopped = kind == PdfOutcome::Failure::Stopped;
    outcome.pdfPath = pdfPath;
    outcome.reason = reason;
    return outcome;
}

// The command line names the chosen version; the PDF is written at the
// version that carries everything chosen.
void RaiseCompatibilityLevel(QStringList& arguments, const QString& level)
{
    static const QString kLevelSwitch = QStringLiteral("-dCompatibilityLevel=");
    if (level.isEmpty())
        return;
    for (QString& argument : arguments) {
        if (argument.startsWith(kLevelSwitch))
            argument = kLevelSwitch + level;
    }
}

// An office print job keeps its transparency only where flattening it would
// have turned words into pictures: such a file is written at 1.4, the least
// version that keeps its text.
QString LevelKeepingText(const QString& level, const QString& spoolFile)
{
    static const QString kTransparency = QStringLiteral("1.4");
    if (level.isEmpty() || level >= kTransparency)
        return level;
    QFile spool(spoolFile);
    if (!spool.open(QIODevice::ReadOnly) || !spool.read(5).startsWith("%PDF-"))
        return level;
    spool.close();
    return PdfDrawingFacts::Read(spoolFile, false).transparency ? kTransparency : level;
}

QString MinutesText(int ms)
{
    const int seconds = ms / 1000;
    return seconds >= 60 && seconds % 60 == 0 ? QStringLiteral("%1 minutes").arg(seconds / 60)
                                              : QStringLiteral("%1 seconds").arg(seconds);
}

} // namespace

QString ResolveProgram(const QString& programToken, const GhostscriptOptions& options)
{
    const QString token = programToken.trimmed();
    if (token.compare(kGhostscriptProgram.trimmed(), Qt::CaseInsensitive) == 0) {
        if (!options.executable.isEmpty())
            return options.executable;
        return QStandardPaths::findExecutable(QStringLiteral("gs"));
    }
    QString name = token;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(name))
        return QFileInfo(name).isExecutable() ? name : QString();
    for (const QString& folder : {QCoreApplication::applicationDirPath(), QDir::currentPath()}) {
        const QFileInfo candidate(QDir(folder).filePath(name));
        if (!folder.isEmpty() && candidate.isFile() && candidate.isExecutable())
            return candidate.absoluteFilePath();
    }
    return name.contains(QLatin1Char('/')) ? QString() : QStandardPaths::findExecutable(name);
}

QString GhostscriptMessages(const QByteArray& standardOutput, const QByteArray& standardError)
{
    QStringList kept;
    QStringList lastLines;
    bool inDump = false;
    const QString all = QString::fromLocal8Bit(standardOutput + '\n' + standardError);
    for (const QString& raw : all.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        // The stack dump after an error runs to "Current file position".
        if (line.startsWith(QLatin1String("Operand stack:"))) {
            inDump = true;
            continue;
        }
        if (inDump) {
            if (line.startsWith(QLatin1String("Current file position")))
                inDump = false;
            continue;
        }
        if (line.startsWith(QLatin1String("Copyright")) ||
            line.startsWith(QLatin1String("This software is")) ||
            line.startsWith(QLatin1String("see the file COPYING")) ||
            line.startsWith(QLatin1String("Loading ")) ||
            (line.startsWith(QLatin1String("GPL Ghostscript")) && line.endsWith(QLatin1Char(')'))))
            continue;
        lastLines << line;
        if (line.startsWith(QLatin1String("****")) || line.startsWith(QLatin1String("GPL Ghostscript")) ||
            line.contains(QLatin1String("error"), Qt::CaseInsensitive))
            kept << line;
    }
    if (kept.isEmpty())
        kept = lastLines.mid(qMax<qsizetype>(0, lastLines.size() - 5));
    QString text = kept.join(QLatin1Char('\n'));
    if (text.size() > 2000)
        text = text.left(2000) + QStringLiteral("...");
    return text;
}

qint64 RunProgramAndWait(const QString& commandLine, const GhostscriptOptions& options)
{
    QStringList arguments = SplitWindowsCommandLine(commandLine);
    if (arguments.isEmpty())
        return 0;
    ProcessRequest request;
    request.program = ResolveProgram(arguments.takeFirst(), options);
    if (request.program.isEmpty())
        return 0;
    request.arguments = arguments;
    request.environment = RestrictedEnvironment();
    request.timeoutMs = options.timeoutMs;
    request.stopRequested = options.stopRequested;
    const ProcessResult result = RunnerOf(options).Run(request);
    return result.status == ProcessResult::Status::FailedToStart ? 0 : result.processId;
}

PdfOutcome MakePdfFromSpool(const ConversionSettings& pageSettings, const QString& sourcePath,
                            const QString& outputFolder, const GhostscriptOptions& options)
{
    ConversionSettings settings = pageSettings;
    if (options.advancedSettings)
        options.advancedSettings->ReadAdvancedSettings(settings);
    // A part of a combined PDF is encrypted, if at all, once combined.
    const bool part = !options.partPath.isEmpty();
    if (part)
        settings.securityEnabled = false;
    const QString finalPath = part ? options.partPath : PdfOutputPath(outputFolder, sourcePath);
    // Ghostscript writes no AES, and no security for a tagged PDF: qpdf
    // encrypts its PDF afterwards, as it does a picture's PDF once its words
    // are laid over it.
    const bool recognising = settings.recognizeText && options.picture;
    ConversionSettings ghostscriptSettings = settings;
    if (UsesAes(settings) || recognising || settings.tagged)
        ghostscriptSettings.securityEnabled = false;
    QString error;
    const QString scratch =
        options.scratchFolder.isEmpty() ? ScratchFolder::Path(&error) : options.scratchFolder;
    if (scratch.isEmpty())
        return Failure(PdfOutcome::Failure::ScratchFiles, finalPath, error);
    const QDir scratchDir(scratch);
    GhostscriptPaths paths;
    paths.spoolFile = scratchDir.filePath(ScratchFolder::kSpoolFileName);
    paths.pdfmarksFile = scratchDir.filePath(ScratchFolder::kPdfmarksFileName);

    // 1-3: the command line, the side file text, the side file.
    const QStringList split = SplitWindowsCommandLine(
        BuildGhostscriptCommandLine(ghostscriptSettings, sourcePath, outputFolder, paths));
    if (!WritePdfmarksFile(paths.pdfmarksFile, BuildPdfmarksText(settings), &error))
        return Failure(PdfOutcome::Failure::ScratchFiles, finalPath, error);

    // A print job that wrote nothing must not become an empty PDF.
    const QFileInfo spool(paths.spoolFile);
    if (!spool.exists() || spool.size() == 0)
        return Failure(PdfOutcome::Failure::EmptySpool, finalPath,
                       QStringLiteral("The print job wrote nothing into %1.").arg(paths.spoolFile));
    const QString name = QFileInfo(sourcePath).fileName();
    if (settings.tagged && taggedpdf::IsPdfFile(paths.spoolFile))
        return MakeTaggedOfficePdf(paths.spoolFile, finalPath, settings, part, name);

    // PDF/A: Ghostscript's definition file with the sRGB output intent, and
    // links that are printed, so Ghostscript keeps them.
    const bool archive = IsArchive(settings);
    const QString archiveDefinition = scratchDir.filePath(QStringLiteral("pdfa_def.ps"));
    const ArchiveResources archiveResources = archive ? FindArchiveResources() : ArchiveResources{};
    if (archive) {
        QFile definition(archiveResources.definitionFile);
        if (archiveResources.definitionFile.isEmpty() || !definition.open(QIODevice::ReadOnly))
            return Failure(PdfOutcome::Failure::NotStarted, finalPath,
                           QStringLiteral("Ghostscript's PDF/A definition file (PDFA_def.ps) or its sRGB "
                                          "profile (srgb.icc) is missing."));
        const QString text =
            AdaptedArchiveDefinition(QString::fromLatin1(definition.readAll()), archiveResources.srgbProfile);
        if (!LinkSafeFiles::Replace(archiveDefinition, text.toLatin1(), &error))
            return Failure(PdfOutcome::Failure::ScratchFiles, finalPath, error);
        if (!MakeLinksPrintable(paths.spoolFile, &error))
            return Failure(PdfOutcome::Failure::ToolFailed, finalPath,
                           QStringLiteral("The print job could not be read: %1").arg(error));
    }

    // The PDF is written under a temporary name beside its final one.
    const QFileInfo target(finalPath);
    if (!target.dir().exists())
        return Failure(PdfOutcome::Failure::OutputFolder, finalPath,
                       QStringLiteral("The output folder %1 does not exist.").arg(target.absolutePath()));
    QTemporaryFile temporaryPdf;
    if (!MakeTemporaryPdfBeside(temporaryPdf, finalPath, &error))
        return Failure(PdfOutcome::Failure::OutputFolder, finalPath, error);

    // The security switches reach Ghostscript through a private argument file.
    QTemporaryFile argumentFile(scratchDir.filePath(QStringLiteral("gsargs-XXXXXX")));
    const bool argumentFileOpen = argumentFile.open();
    GhostscriptInvocation invocation =
        AdaptGhostscriptArguments(split, temporaryPdf.fileName(), argumentFile.fileName());
    const QString level = LevelKeepingText(EffectiveCompatibilityLevel(settings), paths.spoolFile);
    RaiseCompatibilityLevel(invocation.arguments, level);
    invocation.arguments.prepend(keptjpegs::GhostscriptSwitch(settings));
    if (archive)
        invocation.arguments =
            AddArchiveArguments(invocation.arguments, archiveDefinition, archiveResources.srgbProfile);
    const QByteArray argumentBytes = invocation.argumentFileText.toUtf8();
    if (!argumentFileOpen || argumentFile.write(argumentBytes) != argumentBytes.size() ||
        !argumentFile.flush())
        return Failure(
            PdfOutcome::Failure::ScratchFiles, finalPath,
            QStringLiteral("Cannot write the Ghostscript argument file: %1").arg(argumentFile.errorString()));
    argumentFile.close();

    // 4: run Ghostscript and wait for it. Its temporary files go into a
    // folder of this run, so an ended Ghostscript leaves nothing behind.
    const QTemporaryDir ghostscriptTemp(scratchDir.filePath(QStringLiteral("gstmp-XXXXXX")));
    if (!ghostscriptTemp.isValid())
        return Failure(PdfOutcome::Failure::ScratchFiles, finalPath,
                       QStringLiteral("Cannot make a temporary folder for Ghostscript: %1")
                           .arg(ghostscriptTemp.errorString()));
    ProcessRequest request;
    request.program = ResolveProgram(split.value(0), options);
    if (request.program.isEmpty())
        return Failure(PdfOutcome::Failure::NotStarted, finalPath,
                       QStringLiteral("Ghostscript could not be started: the program gs was not found."));
    request.arguments = invocation.arguments;
    request.environment = RestrictedEnvironment(ghostscriptTemp.path());
    request.timeoutMs = options.timeoutMs;
    request.stopRequested = options.stopRequested;
    const ProcessResult result = RunGhostscript(request, ghostscriptTemp.path(), options);

    PdfOutcome outcome = Failure(PdfOutcome::Failure::ToolFailed, finalPath, QString());
    switch (result.status) {
    case ProcessResult::Status::FailedToStart:
        outcome.failure = PdfOutcome::Failure::NotStarted;
        outcome.reason = QStringLiteral("Ghostscript could not be started: %1").arg(result.startError);
        return outcome;
    case ProcessResult::Status::TimedOut:
        outcome.failure = PdfOutcome::Failure::TimedOut;
        outcome.reason = QStringLiteral("Ghostscript did not finish within %1 and was ended.")
                             .arg(MinutesText(options.timeoutMs));
        return outcome;
    case ProcessResult::Status::Stopped:
        outcome.failure = PdfOutcome::Failure::Stopped;
        outcome.stopped = true;
        outcome.reason = QStringLiteral("Stopped.");
        return outcome;
    case ProcessResult::Status::Crashed:
        outcome.reason = QStringLiteral("Ghostscript ended abnormally.\n") +
                         GhostscriptMessages(result.standardOutput, result.standardError);
        return outcome;
    case ProcessResult::Status::Finished:
        break;
    }
    if (result.exitCode != 0) {
        outcome.reason = GhostscriptMessages(result.standardOutput, result.standardError);
        if (outcome.reason.isEmpty())
            outcome.reason = QStringLiteral("Ghostscript ended with exit code %1.").arg(result.exitCode);
        return outcome;
    }
    if (QFileInfo(temporaryPdf.fileName()).size() == 0) {
        outcome.reason = QStringLiteral("Ghostscript wrote no PDF.\n") +
                         GhostscriptMessages(result.standardOutput, result.standardError);
        return outcome;
    }
    // A picture's words, laid over it.
    QTemporaryFile withText;
    QTemporaryFile* written = &temporaryPdf;
    if (recognising) {
        const QTemporaryDir work(scratchDir.filePath(QStringLiteral("ocr-XXXXXX")));
        if (!work.isValid() || !MakeTemporaryPdfBeside(withText, finalPath, &error)) {
            outcome.notice =
                QStringLiteral("No text could be recognised in %1.\n%2")
                    .arg(QFileInfo(sourcePath).fileName(), work.isValid() ? error : work.errorString());
        } else {
            TextRecognizer::Options recognition;
            recognition.executable = options.tesseractExecutable;
            recognition.languages = settings.recognitionLanguages;
            recognition.timeoutMs = options.timeoutMs;
            recognition.stopRequested = options.stopRequested;
            recognition.runner = options.runner;
            const TextRecognizer recognizer(recognition);
            const PictureTextStep::Outcome text =
                PictureTextStep(recognizer, work.path())
                    .Run(temporaryPdf.fileName(), sourcePath, withText.fileName());
            if (text.status == PictureTextStep::Outcome::Status::Stopped) {
                outcome.failure = PdfOutcome::Failure::Stopped;
                outcome.stopped = true;
                outcome.reason = QStringLiteral("Stopped.");
                return outcome;
            }
            if (text.status == PictureTextStep::Outcome::Status::Written)
                written = &withText;
            outcome.notice = text.notice;
        }
    }

    // The final steps, then the final name. A part of a combined PDF gets
    // them once combined.
    const FinalSteps steps = part          ? FinalSteps::Part
                             : recognising ? FinalSteps::WithText
                                           : FinalSteps::OneFile;
    bool folderFault = false;
    const SpoolTextMaps textMaps = SpoolTextMaps::Read(paths.spoolFile);
    if (!CompletePdf(*written, finalPath, settings, steps, &outcome.reason, &folderFault, name, &textMaps)) {
        if (folderFault)
            outcome.failure = PdfOutcome::Failure::OutputFolder;
        return outcome;
    }
    outcome.failure = PdfOutcome::Failure::None;
    outcome.made = true;
    outcome.pdfVersion = level;
    return outcome;
}
