#pragma once

#include <QString>

// The open password handed to Word and Excel for every document. It holds
// the no-password placeholder whenever no password is known: one character
// nobody types, never shown.
inline const QString kNoPassword = QStringLiteral("\x01");

// Each thread that runs converters (the window's worker, each parallel job
// of the command line) has its own, starting at the placeholder, so no job
// hands its password to another's document.
extern thread_local QString g_openPassword;
