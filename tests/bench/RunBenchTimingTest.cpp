#include "ChildPeakMemory.h"
#include "TimingDispatch.h"
#include "TimingDispatchFactory.h"
#include "TimingLedger.h"
#include "TimingPrinter.h"

#include "platform/COleDispatchDriver.h"
#include "platform/OfficeDispids.h"
#include "platform/OleException.h"

#include <QProcess>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

namespace {

constexpr int kSlowMs = 30;
constexpr double kSlow = kSlowMs / 1000.0;

// An automation object whose calls take kSlowMs each; a call for dispid
// childDispid returns another such object, and failing calls throw.
class SlowDispatch : public IDispatch
{
public:
    Variant Invoke(DISPID dispid, WORD, const VariantList&) override
    {
        calls.append(dispid);
        QThread::msleep(kSlowMs);
        if (dispid == failDispid)
            throw COleDispatchException(DISP_E_EXCEPTION, QStringLiteral("refused"));
        if (dispid == childDispid)
            return Variant::Dispatch(child);
        return Variant::I4(7);
    }
    std::function<void()> ServerEnder() const override
    {
        return [this] { ++ended; };
    }

    QList<DISPID> calls;
    DISPID childDispid = -1;
    DISPID failDispid = -1;
    std::shared_ptr<SlowDispatch> child;
    mutable int ended = 0;
};

class FakeFactory : public IDispatchFactory
{
public:
    LPDISPATCH CreateDispatch(const QString& progId) override
    {
        asked << progId;
        QThread::msleep(kSlowMs);
        return refuse ? nullptr : object;
    }
    std::shared_ptr<SlowDispatch> object = std::make_shared<SlowDispatch>();
    QStringList asked;
    bool refuse = false;
};

TimingLedger::Sums Sums()
{
    return TimingLedger::Instance().Current();
}

class RunBenchTiming : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TimingLedger::Instance().Clear();
        COleDispatchDriver::SetDispatchFactory(&fake);
    }
    void TearDown() override { COleDispatchDriver::SetDispatchFactory(nullptr); }
    FakeFactory fake;
};

TEST_F(RunBenchTiming, PrintCallsArePrinterTimeAndTheRestOfficeHostTimeOnEveryObject)
{
    auto application = std::make_shared<SlowDispatch>();
    application->childDispid = worddispid::kDocuments;
    application->child = std::make_shared<SlowDispatch>();
    TimingDispatch word(application, QStringLiteral("Word.Application"));

    word.Invoke(worddispid::kVisible, DISPATCH_PROPERTYPUT, {Variant::Bool(false)});
    EXPECT_GE(Sums()[TimingLedger::OfficeHost], kSlow);
    EXPECT_EQ(Sums()[TimingLedger::Printer], 0);

    // Objects the application returns are timed too.
    const Variant documents = word.Invoke(worddispid::kDocuments, DISPATCH_PROPERTYGET, {});
    ASSERT_EQ(documents.vt(), VT_DISPATCH);
    ASSERT_NE(documents.pdispVal(), application->child) << "the returned object is wrapped";
    documents.pdispVal()->Invoke(worddispid::kPrintOut, DISPATCH_METHOD, {});
    EXPECT_EQ(application->child->calls, QList<DISPID>{worddispid::kPrintOut}) << "the call goes on";
    EXPECT_GE(Sums()[TimingLedger::Printer], kSlow);
    EXPECT_EQ(word.Invoke(worddispid::kBackgroundPrintingStatus, DISPATCH_PROPERTYGET, {}), Variant::I4(7));
    EXPECT_GE(Sums()[TimingLedger::Printer], 2 * kSlow);
    EXPECT_EQ(Sums()[TimingLedger::Ghostscript], 0);
    EXPECT_EQ(Sums()[TimingLedger::Waits], 0);

    // A number is a print only in its own application.
    EXPECT_TRUE(TimingDispatch::IsPrinting(QStringLiteral("Excel.Application"), exceldispid::kPrintOut));
    EXPECT_FALSE(TimingDispatch::IsPrinting(QStringLiteral("Word.Application"), exceldispid::kPrintOut));
    EXPECT_TRUE(
        TimingDispatch::IsPrinting(QStringLiteral("PowerPoint.Application"), powerpointdispid::kPrintOut));
    EXPECT_FALSE(TimingDispatch::IsPrinting(QStringLiteral("PowerPoint.Application"), worddispid::kPrintOut));
}

TEST_F(RunBenchTiming, AFailingCallIsBookedAndItsFailurePassesThroughAsDoesTheEnder)
{
    auto application = std::make_shared<SlowDispatch>();
    application->failDispid = exceldispid::kPrintOut;
    TimingDispatch excel(application, QStringLiteral("Excel.Application"));
    EXPECT_THROW(excel.Invoke(exceldispid::kPrintOut, DISPATCH_METHOD, {}), COleDispatchException);
    EXPECT_GE(Sums()[TimingLedger::Printer], kSlow);
    const std::function<void()> ender = excel.ServerEnder();
    ASSERT_TRUE(ender);
    ender();
    EXPECT_EQ(application->ended, 1) << "Stop still ends the real host";
}

TEST_F(RunBenchTiming, TheFactoryTimesTheHostsStartAndPutsBackTheOneItStoodBefore)
{
    {
        TimingDispatchFactory timed;
        COleDispatchDriver driver;
        ASSERT_TRUE(driver.CreateDispatch(QStringLiteral("PowerPoint.Application")));
        EXPECT_EQ(fake.asked, QStringList{QStringLiteral("PowerPoint.Application")});
        EXPECT_GE(Sums()[TimingLedger::OfficeHost], kSlow);
        driver.InvokeHelper(powerpointdispid::kPrintOut, DISPATCH_METHOD, VT_EMPTY);
        EXPECT_GE(Sums()[TimingLedger::Printer], kSlow) << "its objects are timed";
        EXPECT_EQ(fake.object->calls, QList<DISPID>{powerpointdispid::kPrintOut});

        fake.refuse = true;
        EXPECT_FALSE(driver.CreateDispatch(QStringLiteral("Word.Application")));
    }
    fake.refuse = false;
    TimingLedger::Instance().Clear();
    COleDispatchDriver driver;
    ASSERT_TRUE(driver.CreateDispatch(QStringLiteral("Word.Application")));
    EXPECT_EQ(driver.m_lpDispatch, fake.object) << "the fake is in place again, unwrapped";
    EXPECT_EQ(Sums()[TimingLedger::OfficeHost], 0);
}

// A printer that records what reaches it.
class RecordingPrinter : public DeviceContext
{
public:
    explicit RecordingPrinter(QStringList& log) : m_log(log) {}
    int StartDoc(const DOCINFO&) override { return Log("StartDoc"); }
    int StartPage() override { return Log("StartPage"); }
    int EndPage() override { return Log("EndPage"); }
    int EndDoc() override
    {
        QThread::msleep(kSlowMs);
        return Log("EndDoc");
    }
    int AbortDoc() override { return Log("AbortDoc"); }
    int GetDeviceCaps(int index) const override { return index * 2; }
    bool StretchBlt(const QRect&, const QImage&, const QRect&, std::uint32_t) override
    {
        Log("StretchBlt");
        return true;
    }

private:
    int Log(const char* call)
    {
        m_log << QString::fromLatin1(call);
        return 1;
    }
    QStringList& m_log;
};

TEST(RunBenchPrinterTiming, AJobFromStartDocToItsEndIsPrinterTime)
{
    TimingLedger::Instance().Clear();
    QStringList log;
    {
        TimingPrinter printer(std::make_unique<RecordingPrinter>(log));
        EXPECT_EQ(printer.GetDeviceCaps(21), 42);
        DOCINFO info;
        EXPECT_EQ(printer.StartDoc(info), 1);
        printer.StartPage();
        EXPECT_TRUE(printer.StretchBlt(QRect(0, 0, 2, 2), QImage(), QRect(0, 0, 1, 1), SRCCOPY));
        printer.EndPage();
        EXPECT_EQ(Sums()[TimingLedger::Printer], 0) << "booked when the job ends";
        printer.EndDoc();
        const double booked = Sums()[TimingLedger::Printer];
        EXPECT_GE(booked, kSlow);
        // An aborted job is booked too; a job is booked once.
        printer.StartDoc(info);
        printer.AbortDoc();
        EXPECT_GT(Sums()[TimingLedger::Printer], booked);
    }
    EXPECT_EQ(log, (QStringList{"StartDoc", "StartPage", "StretchBlt", "EndPage", "EndDoc", "StartDoc",
                                "AbortDoc"}));
}

TEST(RunBenchChildMemory, TheLargestPeakOfAChildAndOfItsChildIsKeptByName)
{
    ChildPeakMemory peaks;
    // A child that holds 96 MiB for a while, and a grandchild that holds 16.
    QProcess child;
    child.start(QStringLiteral("python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import subprocess, time\n"
                                "x = bytearray(96 << 20)\n"
                                "subprocess.run(['perl', '-e', '$x = \"a\" x (16 << 20); sleep 1'])\n")});
    ASSERT_TRUE(child.waitForFinished(30000));
    ASSERT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    peaks.Stop();
    const QMap<QString, long> kib = peaks.PeaksKiB();
    EXPECT_GE(kib.value(QStringLiteral("python3")), 96 * 1024);
    EXPECT_GE(kib.value(QStringLiteral("perl")), 16 * 1024);
    EXPECT_LT(kib.value(QStringLiteral("perl")), 96 * 1024) << "each name has its own peak";

    // This process's own peak starts afresh from its size now.
    {
        QByteArray big(128 << 20, 'x');
        EXPECT_GE(ChildPeakMemory::OwnPeakKiB(), 128 * 1024);
    }
    // AddressSanitizer keeps freed memory in quarantine, so under it the
    // process never shrinks back below what it held.
#ifndef __SANITIZE_ADDRESS__
    if (ChildPeakMemory::ResetOwnPeak()) {
        EXPECT_LT(ChildPeakMemory::OwnPeakKiB(), 128 * 1024);
    }
#endif
}

} // namespace
