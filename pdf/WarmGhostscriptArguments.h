#pragma once

#include "platform/WarmGhostscriptConnection.h"

#include <QStringList>

#include <optional>

// The warm Ghostscript's job for an argument vector of the PDF step: the
// switches become the pdfwrite device's output file and parameters, the
// code after -c and the files after -f run in their order, and only those
// files may be read and only the output file written, as the gs program
// permits them. None for a vector it cannot run as the gs program would
// (an argument file, which holds security switches; any other device or
// switch, such as PDF/A's): that one is run by the gs program.
std::optional<WarmGhostscriptJob> WarmGhostscriptJobFor(const QStringList& arguments,
                                                        const QString& temporaryFolder);
