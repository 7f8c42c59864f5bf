#pragma once

#include <QString>

#include <memory>

class OfficeDocument;

// LibreOffice inside the host: LibreOfficeKit starts the office in this
// process (a fraction of a second, against seconds for a separate soffice),
// and the office's own UNO API loads and exports the documents, because only
// it takes every load option the host needs (filter, open password,
// read-only, hidden, macros never run, links never updated). One per host.
class LibreOffice
{
public:
    struct OpenRequest
    {
        QString path;
        QString filterName; // empty: LibreOffice detects the format
        QString filterOptions;
        QString password;
    };

    ~LibreOffice();
    LibreOffice(const LibreOffice&) = delete;
    LibreOffice& operator=(const LibreOffice&) = delete;

    // Starts the office with the given user profile folder; null, with the
    // reason, when it cannot.
    static std::unique_ptr<LibreOffice> Start(const QString& profileFolder, QString* why);

    // Loads the office into this process without starting it, so processes
    // forked from it start it in milliseconds. False, with the reason, when
    // it cannot.
    static bool Preload(const QString& profileFolder, QString* why);

    // What the office's type detection takes a file for, found without
    // loading it: the import filter it would choose and the kind of document
    // that filter makes ("com.sun.star.text.TextDocument", ...). Both empty
    // when nothing takes the file.
    struct Detected
    {
        QString filterName;
        QString documentService;
    };
    Detected Detect(const QString& path);

    // Null, with the reason, when the document does not open: missing,
    // damaged, protected with another password, or no document at all.
    std::unique_ptr<OfficeDocument> Open(const OpenRequest& request, QString* why);

    // Where LibreOffice is installed (its program folder).
    static QString ProgramFolder();

private:
    struct Impl;
    explicit LibreOffice(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};
