#pragma once

#include "EventLog.h"
#include "FakeOffice.h"
#include "FakePage.h"

#include "converters/OpenPassword.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// Prints what the converter did when a sequence does not match.
inline std::string Lines(const QStringList& events)
{
    return events.join(QLatin1Char('\n')).toStdString();
}

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

    // In a run with turns, convert takes the file's turn between open and
    // printOut: the document opens while the file before prints. Stopped
    // while it waits for the turn, the application is ended with nothing
    // printed, no PDF step and no box.
    void ExpectTurnBetweenOpenAndPrint(const std::function<void()>& convert, const QString& open,
                                       const QString& printOut, const QString& application)
    {
        page.printTurn = true;
        convert();
        const QStringList order{open, QStringLiteral("TakePrintTurn"), printOut};
        EXPECT_EQ(EventsWith(order), order) << Lines(Events());
        EXPECT_EQ(page.Converted(), 1);

        log.Clear();
        page.printTurn = false;
        convert();
        EXPECT_FALSE(Events().contains(printOut)) << Lines(Events());
        EXPECT_TRUE(
            EventsWith({QStringLiteral("MakePdfFromSpool"), QStringLiteral("EnterPassword")}).isEmpty())
            << Lines(Events());
        EXPECT_TRUE(Events().contains(QStringLiteral("ended ") + application)) << Lines(Events());
        EXPECT_EQ(page.Converted(), 0);
        EXPECT_TRUE(page.Boxes().isEmpty());
    }

    QTemporaryDir m_runtime;
    EventLog log;
    FakeOffice office{log};
    FakePage page{log};
    QString m_spool;
};
