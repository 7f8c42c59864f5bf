#include "pdf/GhostscriptArguments.h"

namespace {

const QString kOutputSwitch = QStringLiteral("-sOutputFile=");

// Defines .setpdfwrite as it was (it only raised the VM threshold) when this
// Ghostscript lacks it.
const QString kDefineSetPdfWrite =
    QStringLiteral("/.setpdfwrite where {pop} {/.setpdfwrite {3000000 setvmthreshold} bind def} ifelse");

// Distiller parameters set by the side file govern a PDF input only once
// the page device carries them; an empty request records them there.
const QString kRecordDistillerParams = QStringLiteral("<< >> setpagedevice");

bool IsSecuritySwitch(const QString& argument)
{
    static const QStringList prefixes{QStringLiteral("-sOwnerPassword="), QStringLiteral("-sUserPassword="),
                                      QStringLiteral("-dEncryptionR="), QStringLiteral("-dKeyLength="),
                                      QStringLiteral("-dPermissions=")};
    for (const QString& prefix : prefixes) {
        if (argument.startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace

QString EscapeOutputFilePath(const QString& path)
{
    QString escaped = path;
    return escaped.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

QString ArgumentFileLine(const QString& argument)
{
    // Ghostscript's argument files: a quote opens quoting right after "=",
    // a backslash before a quote makes the quote literal, any other
    // backslash is literal, and a quote closes quoting when a blank or the
    // end of the line follows it. A backslash followed by a line end is a
    // line continuation, which lets a value end in a backslash.
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    if (equals < 0)
        return argument;
    const QString value = argument.mid(equals + 1);
    QString line = argument.left(equals + 1) + QLatin1Char('"');
    for (QChar c : value) {
        if (c == QLatin1Char('"'))
            line += QLatin1Char('\\');
        line += c;
    }
    if (value.endsWith(QLatin1Char('\\')))
        line += QStringLiteral("\\\n");
    return line + QLatin1Char('"');
}

GhostscriptInvocation AdaptGhostscriptArguments(const QStringList& splitCommandLine,
                                                const QString& temporaryOutput,
                                                const QString& argumentFilePath)
{
    GhostscriptInvocation invocation;
    QStringList security;
    QStringList inputs;
    bool afterFiles = false;
    bool inCode = false;
    for (qsizetype i = 1; i < splitCommandLine.size(); ++i) {
        const QString& argument = splitCommandLine[i];
        if (afterFiles) {
            inputs << argument;
        } else if (argument == QLatin1String("-c")) {
            inCode = true;
        } else if (argument == QLatin1String("-f")) {
            inCode = false;
            afterFiles = true;
        } else if (inCode) {
            continue; // the code is rebuilt below
        } else if (IsSecuritySwitch(argument)) {
            security << argument;
        } else if (argument.startsWith(kOutputSwitch)) {
            continue; // replaced by the temporary name below
        } else {
            invocation.arguments << argument;
        }
    }

    if (!security.isEmpty()) {
        QStringList lines;
        for (const QString& argument : security)
            lines << ArgumentFileLine(argument);
        invocation.argumentFileText = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
        invocation.arguments << QLatin1Char('@') + argumentFilePath;
    }
    invocation.arguments << kOutputSwitch + EscapeOutputFilePath(temporaryOutput);
    invocation.arguments << QStringLiteral("-c") << kDefineSetPdfWrite << QStringLiteral(".setpdfwrite")
                         << QStringLiteral("-f");
    // The side file comes last on the command line; it is read first. A PDF
    // print job takes the device's settings from the page device, so they
    // are recorded there before the spool file is read.
    if (inputs.isEmpty())
        return invocation;
    const QString sideFile = inputs.takeLast();
    invocation.arguments << sideFile;
    if (inputs.isEmpty())
        return invocation;
    invocation.arguments << QStringLiteral("-c") << kRecordDistillerParams << QStringLiteral("-f") << inputs;
    // Read once more after the spool file: a printed picture names its file
    // as its title, and the user's document information must win over that.
    invocation.arguments << sideFile;
    return invocation;
}
