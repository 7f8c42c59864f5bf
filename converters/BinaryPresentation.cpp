#include "converters/BinaryPresentation.h"

#include <QFile>
#include <QtEndian>

namespace binarypresentation {
namespace {

constexpr char kCompoundFileSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
// A compound file's directory entries are 128 bytes long and lie in
// sectors of 512 or 4096 bytes, after the 512-byte header.
constexpr qint64 kEntrySize = 128;
constexpr qint64 kHeaderSize = 512;
constexpr int kNameLengthOffset = 64; // bytes of the name, its terminating 0 included
constexpr int kTypeOffset = 66;
constexpr char kStreamType = 2;

QByteArray EntryName(const char* name)
{
    QByteArray utf16;
    for (const char* c = name; *c; ++c)
        utf16.append(*c).append('\0');
    return utf16.append(2, '\0');
}

bool IsEncryptedSummaryEntry(const char* entry)
{
    static const QByteArray name = EntryName("EncryptedSummary");
    return qFromLittleEndian<quint16>(entry + kNameLengthOffset) == name.size() &&
           entry[kTypeOffset] == kStreamType && QByteArray::fromRawData(entry, name.size()) == name;
}

} // namespace

bool IsEncrypted(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != QByteArray(kCompoundFileSignature, 8))
        return false;
    // Every 128-byte step after the header may be a directory entry; reading
    // in large blocks keeps a big presentation quick to look through.
    if (!file.seek(kHeaderSize))
        return false;
    for (QByteArray block = file.read(kEntrySize * 4096); block.size() >= kEntrySize;
         block = file.read(kEntrySize * 4096)) {
        for (qsizetype at = 0; at + kEntrySize <= block.size(); at += kEntrySize) {
            if (IsEncryptedSummaryEntry(block.constData() + at))
                return true;
        }
    }
    return false;
}

} // namespace binarypresentation
