#pragma once

#include "platform/TaggedExportJob.h"

#include <QObject>
#include <QString>

#include <memory>

class OfficeDocument;

// The product's printer "Foliant" as the host's applications print on it. It
// writes its jobs in PDF, the job format of this system's print service: the
// print file receives LibreOffice's own PDF export of the document, so its
// text, fonts and links reach the PDF step intact. A job first removes what
// the file held; the file appears under its name only when it is complete,
// and a failed job leaves none. A background job runs on a thread of its own
// while the host serves further calls.
class PrintSpooler : public QObject
{
    Q_OBJECT

public:
    explicit PrintSpooler(QObject* parent = nullptr);
    // Waits for the jobs still running.
    ~PrintSpooler() override;

    static QString PrinterName() { return QStringLiteral("Foliant"); }

    // Prints every page of the document into the file. In the foreground it
    // returns when the file is written (false, with the reason, when it was
    // not); in the background it returns at once and the job counts as
    // running until it has ended.
    bool Print(const std::shared_ptr<OfficeDocument>& document, const QString& printFile, bool background,
               QString* why);

    // The PDF version the jobs are made into (the printer's setting; empty
    // when not known). A job for a version without transparency (before 1.4)
    // carries none where LibreOffice can flatten it object by object without
    // turning text into pictures; where it cannot, the job keeps its
    // transparency and the PDF step writes that file at PDF 1.4. Either way
    // no page becomes one picture and no word is lost.
    void SetPdfLevel(const QString& pdfLevel) { m_pdfLevel = pdfLevel; }
    bool JobsWithoutTransparency() const;
    // Whether the jobs are tagged PDFs, written as the final PDF.
    void SetTaggedExport(const TaggedExportJob& job) { m_taggedExport = job; }

    int RunningJobs() const { return m_running; }
    // Waits, serving events, until no job runs; false when the limit passed.
    bool WaitForAll(int milliseconds);

private:
    // Writes the job into partPath; see SetPdfLevel.
    static bool Export(OfficeDocument& document, const QString& partPath, bool withoutTransparency,
                       QString* why, const TaggedExportJob& tagged);
    static bool Finish(bool exported, const QString& partPath, const QString& printFile, QString* why);

    int m_running = 0;
    QString m_pdfLevel;
    TaggedExportJob m_taggedExport;
};
