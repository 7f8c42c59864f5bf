#include "TimedConverters.h"

#include "converters/ConversionPage.h"

#include <QElapsedTimer>
#include <QFileInfo>

ConverterSet TimedConverters::Set()
{
    // An Office file counts as made when its converter left the flag at 1.
    auto office = [this](std::function<void(ConversionPage&, const QString&)> real) {
        return [this, real](ConversionPage& page, const QString& path) {
            Timed(
                [&real](ConversionPage& p, const QString& file) {
                    real(p, file);
                    return p.Converted() == 1;
                },
                page, path);
        };
    };
    ConverterSet set;
    set.word = office(m_real.word);
    set.excel = office(m_real.excel);
    set.powerPoint = office(m_real.powerPoint);
    set.picture = [this](ConversionPage& page, const QString& path) {
        return Timed(m_real.picture, page, path);
    };
    return set;
}

bool TimedConverters::Timed(const Convert& convert, ConversionPage& page, const QString& path)
{
    TimingLedger::Instance().Clear();
    QElapsedTimer clock;
    clock.start();
    FileTiming timing;
    timing.made = convert(page, path);
    timing.total = clock.nsecsElapsed() / 1e9;
    timing.parts = TimingLedger::Instance().Current();
    timing.kind = QFileInfo(path).suffix().toLower();
    QMutexLocker lock(&m_mutex);
    m_results.append(timing);
    return timing.made;
}

QList<FileTiming> TimedConverters::Results() const
{
    QMutexLocker lock(&m_mutex);
    return m_results;
}

void TimedConverters::ClearResults()
{
    QMutexLocker lock(&m_mutex);
    m_results.clear();
}
