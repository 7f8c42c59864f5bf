#pragma once

#include <QString>

// What the program asks of the desktop shell: open a file (or a web address)
// with the application the desktop associates with it, and show a folder
// with one of its files selected. Results are not reported: the callers show
// no message when the desktop cannot do it, as the shell's answers were
// ignored before.
//
// The desktop's own service lives in the GUI library (platform/widgets,
// it needs D-Bus); tests put a recording fake in its place.
class ShellService
{
public:
    virtual ~ShellService() = default;

    // Opens a local file with its default application (the shell's "open").
    virtual void OpenFile(const QString& path) = 0;

    // Opens a web address in the user's browser.
    virtual void OpenWebAddress(const QString& address) = 0;

    // Shows folder in the file manager with the file itemPath selected; when
    // that cannot be done, opens the folder. Paths of any length.
    virtual void ShowItemInFolder(const QString& folder, const QString& itemPath) = 0;

    // The service the program uses.
    static ShellService& Instance();

    // Puts service in place of the desktop's own (nullptr: back to the
    // desktop's); returns the one it replaces. The caller keeps ownership and
    // must outlive its use.
    static ShellService* SetInstance(ShellService* service);
};
