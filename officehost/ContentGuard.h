#pragma once

#include <QString>
#include <QStringList>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

// What the office may read and write while it converts: its own installation,
// its profile, the program's private scratch folder, and the files a
// conversion names (the document, the print file). Everything else, another
// file of the user's or any address on a network, is refused wherever a
// document points at it: a linked picture, section, stylesheet or frame, an
// OLE or DDE link, a field or a formula. The office then shows what the
// document itself holds.
namespace ContentGuard {

// Puts the guard between the office and its content providers; false, with
// the reason, when it could not.
bool Install(const css::uno::Reference<css::uno::XComponentContext>& context, const QStringList& folders,
             QString* why);

// Lets the office reach this one file, from now on.
void Allow(const QString& path);
// Lets the office reach what is in this folder, from now on: where it
// writes a print file (and, beside it, its lock file).
void AllowFolder(const QString& path);

// True when the office may reach the address (a URL).
bool Allowed(const QString& url);

} // namespace ContentGuard
