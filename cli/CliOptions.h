#pragma once

#include "pdf/ConversionSettings.h"

#include <QString>
#include <QStringList>

class QIODevice;

// What one foliant-convert command asks for, read from its arguments.
struct CliOptions
{
    // What to do with a PDF that exists already: the command never asks.
    enum class Existing { Fail, Overwrite, Skip };

    QStringList inputs; // files and (with recursive) folders, as given
    bool recursive = false;
    QString outputFolder; // absolute
    ConversionSettings settings;
    Existing existing = Existing::Fail;
    int jobs = DefaultJobs();
    int timeoutSeconds = 0; // per file; 0: the converters' own limits
    QString reportPath;     // empty: no report
    QString combinedPath;   // --combine: the one PDF every file goes into; empty: one PDF per file
    QString openPassword;   // tried for protected inputs; empty: none given

    // Two files at once where the machine has two cores or more: one job
    // leaves a core idle while the office works alone; more than two were
    // never measured to pay for their office hosts' memory.
    static int DefaultJobs();
};

// The outcome of reading the arguments: options to run with, or the text to
// print and the exit status (0 for --help and --version, 2 for bad usage).
struct CliParse
{
    bool run = false;
    int exitCode = 0;
    QString text;
    CliOptions options;
};

// arguments[0] is the program's name. Password files named "-" are read from
// standardInput (at most one of them).
CliParse ParseCliArguments(const QStringList& arguments, QIODevice& standardInput);
