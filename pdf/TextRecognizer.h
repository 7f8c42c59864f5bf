#pragma once

#include <QString>

#include <functional>

class ProcessRunner;

// Tesseract, run for one page picture at a time in a process of its own: an
// argument vector, an allow-listed environment, a time limit, and the
// user's Stop ending it at once. Its words come back as a text-only PDF (one
// page the picture's size at the resolution given, nothing drawn, the words
// as invisible text where they stand) and as plain text. A page it turns
// upright to read keeps its words where they stand on the picture as it is.
class TextRecognizer
{
public:
    struct Options
    {
        QString executable; // empty: tesseract on the search path
        QString languages = QStringLiteral("eng");
        int timeoutMs = 10 * 60 * 1000;      // a page past it is ended and has no text
        std::function<bool()> stopRequested; // the user's Stop
        ProcessRunner* runner = nullptr;     // null: real processes
    };

    struct Result
    {
        enum class Status {
            Recognized, // the text-only PDF is written (words found or not)
            Failed,     // Tesseract is missing, failed, crashed or ran past its limit
            Stopped,    // ended at the user's request
        };
        Status status = Status::Failed;
        QString textPdf;    // Recognized: the text-only PDF
        bool words = false; // Recognized: it found at least one word
        QString reason;     // Failed: why, in the program's words
    };

    explicit TextRecognizer(Options options);

    // Reads the picture at imagePath, whose pixels are dpi to the inch on
    // the page, and writes outputBase + ".pdf" and ".txt". Temporary files
    // of Tesseract's go into workFolder.
    Result Recognize(const QString& imagePath, int dpi, const QString& outputBase,
                     const QString& workFolder) const;

    // Tesseract on the search path; empty when there is none.
    static QString FindTesseract();

private:
    Options m_options;
};
