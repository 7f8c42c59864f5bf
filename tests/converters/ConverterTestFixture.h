#pragma once

#include "EventLog.h"
#include "FakeOffice.h"
#include "FakePage.h"

#include "converters/OpenPassword.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// A converter run against the fake office and the fake page, with the
// scratch folder (and so the spool file) in a folder of the test's own.
class ConverterTest : public ::testing::Test
{
protected:
    ConverterTest()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        g_openPassword = kNoPassword;
        m_spool = page.SpoolFilePath(nullptr);
        office.printFile = m_spool;
    }
    ~ConverterTest() override { qunsetenv("XDG_RUNTIME_DIR"); }

    QStringList Events() const { return log.Events(); }
    // The events that name one of the words, in order.
    QStringList EventsWith(const QStringList& words) const
    {
        QStringList kept;
        for (const QString& e : log.Events())
            for (const QString& w : words)
                if (e.contains(w)) {
                    kept << e;
                    break;
                }
        return kept;
    }

    QTemporaryDir m_runtime;
    EventLog log;
    FakeOffice office{log};
    FakePage page{log};
    QString m_spool;
};

// Prints what the converter did when a sequence does not match.
inline std::string Lines(const QStringList& events)
{
    return events.join(QLatin1Char('\n')).toStdString();
}
