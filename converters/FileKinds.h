#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

// What the program does with a file, told by its extension. The kind chooses
// the converter (and so the office application that opens the file) and the
// Add File(s) filter entry that lists it.
enum class FileKind { Word, Excel, PowerPoint, Picture };

// The one table of the files the program converts. The file dialog's filter,
// the list's accepted extensions, the worker's dispatch, the Word
// converter's open format and the command line all read it; a new extension
// is one line of the table.
namespace filekinds {

struct Entry
{
    QLatin1StringView extension; // lower case, without the dot
    FileKind kind;
    int wordOpenFormat; // wordopenformat::k…; kNone for other kinds
};

// Every entry, in the order the filter text lists them.
std::span<const Entry> Table();

// The text after the last "." of the path's file name, lower-cased; empty
// when the name has no ".".
QString ExtensionOf(const QString& path);

// The entry for the path's extension, compared whole and ignoring case; null
// for a file the program does not convert.
const Entry* Find(const QString& path);
std::optional<FileKind> KindOf(const QString& path);

// How many of the paths an office opens (Word, Excel and PowerPoint files).
qsizetype OfficeFileCount(const QStringList& paths);

// Word's open format for a Word-family file; wordopenformat::kNone otherwise.
int WordOpenFormat(const QString& path);

// The accepted extensions (lower case, no dot), in table order: all of them,
// or those of one kind.
QStringList Extensions();
QStringList Extensions(FileKind kind);

// The name of the kind's filter entry ("Microsoft Word Files", ...).
QString FilterGroupName(FileKind kind);

// The Add File(s) filter text: "All Supported Files", one entry per kind,
// "All Files"; each entry "text|patterns|", the whole ended by "|".
QString FilterText();

} // namespace filekinds
