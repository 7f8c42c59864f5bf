#pragma once

#include <QString>

// The open password handed to Word and Excel for every document. It holds
// the no-password placeholder whenever no password is known: one character
// nobody types, never shown.
inline const QString kNoPassword = QStringLiteral("\x01");

// Written and read on the worker's thread only, once the page has set its
// first value.
extern QString g_openPassword;
