#pragma once

#include <QString>

// What became of one file of a run.
struct FileResult
{
    enum class Status { Pending, Made, Skipped, Failed, Stopped };

    QString source;
    QString pdf;          // where its PDF is (or would have been)
    QString outputFolder; // the folder its PDF goes into
    Status status = Status::Pending;
    QString
        reason; // why it was not made, or what the user is told about the PDF made, in the program's words
    QString pdfVersion; // the version its PDF was written at
    double seconds = 0;

    // "made", "skipped", "failed", "stopped" (the report's words).
    static QString StatusName(Status status);
};
