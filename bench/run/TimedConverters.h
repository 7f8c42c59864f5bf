#pragma once

#include "TimingLedger.h"

#include "converters/Converters.h"

#include <QList>
#include <QMutex>
#include <QString>

// One file of a run: from its dispatch to the converter's return (its PDF
// finished), and where that time went.
struct FileTiming
{
    QString kind; // the extension, lower-cased
    double total = 0;
    TimingLedger::Sums parts{};
    bool made = false;
};

// Wraps the real converters: each call is one file, timed whole, with the
// ledger cleared before it and read after it.
class TimedConverters
{
public:
    explicit TimedConverters(ConverterSet real) : m_real(std::move(real)) {}

    ConverterSet Set();
    QList<FileTiming> Results() const;
    void ClearResults();

private:
    using Convert = std::function<bool(ConversionPage&, const QString&)>;
    bool Timed(const Convert& convert, ConversionPage& page, const QString& path);

    ConverterSet m_real;
    mutable QMutex m_mutex;
    QList<FileTiming> m_results;
};
