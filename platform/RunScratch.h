#pragma once

#include <QMutex>
#include <QString>

// The scratch files of one run (or one parallel job of a run): a folder of
// its own inside the program's private scratch folder, so the window, any
// number of command-line runs and their parallel jobs never share a spool
// file, side file or argument file. The folder is made when first asked for
// and removed, with everything in it, when this object goes. Folders left by
// a process that was killed are removed when a later run makes its own.
class RunScratch
{
public:
    RunScratch() = default;
    ~RunScratch();
    RunScratch(const RunScratch&) = delete;
    RunScratch& operator=(const RunScratch&) = delete;

    // The run's folder, made on first use; empty (and *error set) when no
    // private folder can be had. Callable from any thread.
    QString Path(QString* error = nullptr);
    // The spool file and the side file inside it; empty when Path is.
    QString SpoolFilePath(QString* error = nullptr);
    QString PdfmarksFilePath(QString* error = nullptr);

    // Removes the folder now; the next Path makes a new one.
    void Remove();

    // The prefix of every run's folder name; the process id follows.
    static inline const QString kFolderPrefix = QStringLiteral("run-");

private:
    QMutex m_mutex;
    QString m_path;
};
