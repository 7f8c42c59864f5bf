#pragma once

#include <QString>

// PowerPoint 97-2003 presentations (.ppt, .pps) as files on disk.
namespace binarypresentation {

// True when the file is a PowerPoint 97-2003 presentation protected with a
// password: a compound file holding an "EncryptedSummary" stream, which
// PowerPoint writes into every presentation it encrypts. The office opens
// none of these, whatever password it is given.
bool IsEncrypted(const QString& path);

} // namespace binarypresentation
