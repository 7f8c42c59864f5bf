#include "cli/SourceFiles.h"

#include "converters/FileKinds.h"
#include "pdf/GhostscriptCommandLine.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

FileResult Entry(const QString& source, const QString& outputFolder)
{
    FileResult entry;
    entry.source = source;
    entry.outputFolder = outputFolder;
    entry.pdf = PdfOutputPath(outputFolder, source);
    return entry;
}

} // namespace

QList<FileResult> SourceFiles(const QStringList& inputs, bool recursive, const QString& outputFolder,
                              bool combined)
{
    QList<FileResult> files;
    for (const QString& input : inputs) {
        const QFileInfo info(input);
        if (!recursive || !info.isDir()) {
            files << Entry(input, outputFolder);
            continue;
        }
        const QDir top(info.absoluteFilePath());
        QStringList found;
        QDirIterator it(top.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (filekinds::Find(path))
                found << path;
        }
        std::sort(found.begin(), found.end());
        for (const QString& path : found) {
            const QString sub = top.relativeFilePath(QFileInfo(path).absolutePath());
            files << Entry(path, sub == u"." ? outputFolder : QDir(outputFolder).filePath(sub));
        }
    }
    if (combined)
        return files;
    QHash<QString, QString> first;
    for (FileResult& file : files) {
        const QString key = QFileInfo(file.pdf).absoluteFilePath();
        if (first.contains(key)) {
            file.status = FileResult::Status::Failed;
            file.reason =
                QStringLiteral("Its PDF %1 would replace that of %2.").arg(file.pdf, first.value(key));
        } else {
            first.insert(key, file.source);
        }
    }
    return files;
}
