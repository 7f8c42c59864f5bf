#pragma once

#include <QObject>
#include <QString>

#include <memory>

class OfficeDocument;
class QProcess;

// The product's printer "Foliant" as the host's applications print on it:
// LibreOffice renders the document into a PDF, and the printer filter
// (Ghostscript's ps2write) turns that into PostScript in the print file. A
// job first removes what the file held; the file appears under its name only
// when it is complete, and a failed job leaves none. A background job runs on
// while the host serves further calls.
class PrintSpooler : public QObject
{
    Q_OBJECT

public:
    explicit PrintSpooler(const QString& scratchFolder, QObject* parent = nullptr);
    ~PrintSpooler() override;

    static QString PrinterName() { return QStringLiteral("Foliant"); }

    // Prints every page of the document into the file. In the foreground it
    // returns when the file is written (false, with the reason, when it was
    // not); in the background it returns at once and the job counts as
    // running until it has ended.
    bool Print(const std::shared_ptr<OfficeDocument>& document, const QString& printFile, bool background,
               QString* why);

    int RunningJobs() const { return m_running; }
    // Waits, serving events, until no job runs; false when the limit passed.
    bool WaitForAll(int milliseconds);

    // Time limit for the printer filter of one job.
    static void SetFilterTimeLimit(int milliseconds);

private:
    bool Render(OfficeDocument& document, const QString& pdfPath, QString* why);
    QProcess* StartFilter(const QString& pdfPath, const QString& partPath, QString* why);
    static bool Finish(QProcess* filter, const QString& pdfPath, const QString& partPath,
                       const QString& printFile, QString* why);

    QString m_scratchFolder;
    int m_running = 0;
    int m_sequence = 0;
};
