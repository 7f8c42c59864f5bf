#pragma once

#include <QString>

#include <functional>

class ConversionPage;

// The part of a path after its last "/" (the whole path when it has none).
QString FileNameOf(const QString& sourcePath);

// The retry protocol of the Office converters. attempt converts the file once
// with the current open password and returns false only when the document
// did not open (its office host has then been quit and let go). Then
// askFirst, when given, asks whether to try again (false gives the file up),
// and the user is asked for the password: OK retries with the typed text
// (the no-password placeholder for an empty field), Cancel gives the file up
// (converted flag 0). After a prompted file the open password is the
// placeholder again.
void ConvertWithPasswordRetries(ConversionPage& page, const QString& sourcePath,
                                const std::function<bool()>& attempt,
                                const std::function<bool()>& askFirst = {});
