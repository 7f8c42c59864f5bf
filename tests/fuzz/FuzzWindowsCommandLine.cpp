// The Windows command-line split, and the quoting of passwords for it:
// whatever the password, the split gives it back whole, and no typed text
// adds a switch.
#include "pdf/GhostscriptCommandLine.h"
#include "platform/WindowsCommandLine.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SplitWindowsCommandLine(text);

    // Blanks inside a password are kept; a password with a line end or a
    // NUL is not one a user can type into the field.
    if (text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0)))
        return 0;
    ConversionSettings settings;
    settings.securityEnabled = true;
    settings.ownerPassword = QStringLiteral("owner");
    settings.userPassword = text;
    const QStringList split =
        SplitWindowsCommandLine(QStringLiteral("gs ") + BuildSecurityArguments(settings));
    int users = 0;
    for (const QString& argument : split) {
        if (argument.startsWith(QStringLiteral("-sUserPassword="))) {
            ++users;
            if (argument.mid(15) != text)
                std::abort();
        } else if (argument.startsWith(u'-') && !argument.startsWith(QStringLiteral("-sOwnerPassword=")) &&
                   !argument.startsWith(QStringLiteral("-dEncryptionR=")) &&
                   !argument.startsWith(QStringLiteral("-dKeyLength=")) &&
                   !argument.startsWith(QStringLiteral("-dPermissions="))) {
            std::abort(); // a switch the user typed
        }
    }
    if (users != 1)
        std::abort();
    return 0;
}
