#pragma once

#include "cli/CliOptions.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QCommandLineParser;
class QIODevice;

// What the options are read from and into while one command line is read.
struct CliReading
{
    const QCommandLineParser& parser;
    QIODevice& standardInput;
    CliOptions& options;
    bool standardInputTaken = false; // by a password file named "-"

    bool IsSet(const QString& name) const;
    QString Value(const QString& name) const;
};

// One option of foliant-convert: its names, its value, its help line, and
// how it is checked and what it sets. Parsing, the checks and --help all
// come from the table of these.
struct CliOption
{
    QStringList names; // the long name last
    QString valueName; // empty for a switch
    QString help;
    // Takes the option's value (empty for a switch) into the options, in the
    // table's order, so an option may look at those before it: empty, or the
    // reason it is bad usage. Empty for --help and --version, which end the
    // command instead.
    std::function<QString(const QString& value, CliReading& reading)> take;

    QString LongName() const { return names.constLast(); }
};

const std::vector<CliOption>& CliOptionTable();
