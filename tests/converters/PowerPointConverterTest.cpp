#include "ConverterTestFixture.h"
#include "TestTools.h"

#include "converters/Converters.h"
#include "converters/OpenPassword.h"
#include "platform/OfficeDispids.h"
#include "platform/WindowRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

using namespace powerpointdispid;

namespace {

const QString kPowerPoint = QStringLiteral("PowerPoint.Application");
const QString kSource = QStringLiteral("/slides/talk.ppt");
const QString kQuestion = QStringLiteral("box Warning|0x4|Password is wrong.Do you want to  enter again?");
const Variant kOne = Variant::I4(1);
const Variant kAll = Variant::I4(-1);

class PowerPointConverterTest : public ConverterTest
{
protected:
    PowerPointConverterTest()
    {
        AddPowerPointObjects(office);
        // The host's main window, as an office host reports it.
        m_window = WindowRegistry::Instance().Register(
            QStringLiteral("PP11FrameClass"), QStringLiteral("Microsoft PowerPoint"), 4242,
            [this]() { log.Add(QStringLiteral("terminated 4242")); });
    }
    ~PowerPointConverterTest() override { WindowRegistry::Instance().Unregister(m_window); }

    static QStringList Start()
    {
        return {QStringLiteral("CreateDispatch PowerPoint.Application"), QStringLiteral("ender set"),
                CallLine(kPowerPoint, kVisible, DISPATCH_PROPERTYPUT, {kOne}),
                CallLine(kPowerPoint, kPresentations, DISPATCH_PROPERTYGET)};
    }
    static QString Open(const QString& password = kNoPassword)
    {
        return CallLine(QStringLiteral("Presentations"), kOpen, DISPATCH_METHOD,
                        {Variant::Bstr(kSource), kOne, kAll, kAll, Variant::Bstr(password)});
    }
    static QString Active() { return CallLine(kPowerPoint, kActivePresentation, DISPATCH_PROPERTYGET); }
    QString PrintOut() const
    {
        return CallLine(QStringLiteral("Presentation"), kPrintOut, DISPATCH_METHOD,
                        {kAll, kAll, Variant::Bstr(m_spool), kOne, kAll});
    }
    static QString Close() { return CallLine(QStringLiteral("Presentation"), kClose, DISPATCH_METHOD); }
    static QString Quit() { return CallLine(kPowerPoint, kQuit, DISPATCH_METHOD); }
    static QString Pdf(int converted)
    {
        return QStringLiteral("MakePdfFromSpool %1 (converted %2)").arg(kSource).arg(converted);
    }
    QStringList Success(const QString& password = kNoPassword) const
    {
        return Start() + QStringList{Open(password), Active(), PrintOut()} +
               QStringList{QStringLiteral("WaitUntil 600000")} +
               QStringList{Pdf(1), Close(), Quit(), QStringLiteral("ender cleared")};
    }

    HWND m_window = 0;
};

TEST_F(PowerPointConverterTest, APresentationIsPrintedWaitedForMadeIntoAPdfClosedAndQuitCallForCall)
{
    QFile stale(m_spool);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("%!PS the previous presentation\n");
    stale.close();
    bool staleAtPrint = true;
    office.results = [&](const FakeCall& c) {
        if (c.dispid == kPrintOut)
            staleAtPrint = QFile::exists(m_spool);
        return Variant();
    };
    ConvertPowerPoint(page, kSource);
    EXPECT_EQ(Events(), Success()) << Lines(Events());
    EXPECT_FALSE(staleAtPrint) << "the spool file is emptied before the print";
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_FALSE(WindowRegistry::Instance().IsWindowVisible(m_window)) << "its main window is hidden";
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(PowerPointConverterTest, NoPowerPointGivesItsMessageOnce)
{
    office.refuseToStart = true;
    page.SetConverted(1);
    ConvertPowerPoint(page, kSource);
    EXPECT_EQ(Events(), (QStringList{QStringLiteral("CreateDispatch PowerPoint.Application"),
                                     QStringLiteral("box %1|0x30|Couldn't get PowerPoint object.")
                                         .arg(QCoreApplication::applicationName())}));
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(PowerPointConverterTest, EachFailingStepOfTheOpenAndPrintAsksWhetherToTryAgain)
{
    const struct
    {
        QString object;
        DISPID dispid;
        bool closes; // a presentation is held when it fails
    } steps[] = {{QStringLiteral("Presentations"), kOpen, false},
                 {kPowerPoint, kActivePresentation, false},
                 {QStringLiteral("Presentation"), kPrintOut, true}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.dispid);
        // No: the file is given up.
        log.Clear();
        page.answers.enqueue(IDNO);
        office.fails = [&](const FakeCall& c) { return c.object == step.object && c.dispid == step.dispid; };
        ConvertPowerPoint(page, kSource);
        QStringList events = Events();
        const QString failedCall = QStringLiteral("%1 %2 ").arg(step.object).arg(step.dispid);
        const auto failedAt = std::find_if(events.cbegin(), events.cend(),
                                           [&](const QString& e) { return e.startsWith(failedCall); });
        const int failed = failedAt == events.cend() ? -1 : static_cast<int>(failedAt - events.cbegin());
        ASSERT_GE(failed, 0) << Lines(events);
        QStringList after = step.closes ? QStringList{Close(), Quit()} : QStringList{Quit()};
        after << QStringLiteral("ender cleared") << kQuestion;
        EXPECT_EQ(events.mid(failed + 1), after) << Lines(events);
        EXPECT_EQ(page.Converted(), 0);

        // Yes: the password prompt, then PowerPoint starts again and the
        // whole attempt is repeated with the typed password.
        log.Clear();
        page.answers.enqueue(IDYES);
        page.passwords.enqueue(QStringLiteral("secret"));
        int failures = 0;
        office.fails = [&](const FakeCall& c) {
            return c.object == step.object && c.dispid == step.dispid && failures++ == 0;
        };
        ConvertPowerPoint(page, kSource);
        events = Events();
        EXPECT_EQ(events.count(QStringLiteral("CreateDispatch PowerPoint.Application")), 2);
        EXPECT_EQ(events.mid(events.indexOf(kQuestion) + 1),
                  QStringList{QStringLiteral("EnterPassword talk.ppt")} + Success(QStringLiteral("secret")))
            << Lines(events);
        EXPECT_EQ(page.Converted(), 1);
        EXPECT_EQ(g_openPassword, kNoPassword) << "no password outlives its file";
    }
}

TEST_F(PowerPointConverterTest, CancelAtThePromptGivesUpAndAProtectedBinaryPresentationIsToldAfterOneRound)
{
    // Yes, then Cancel at the prompt: given up, nothing more asked.
    office.fails = [](const FakeCall& c) { return c.dispid == kOpen; };
    page.answers << IDYES;
    page.passwords.enqueue(std::nullopt);
    ConvertPowerPoint(page, kSource);
    EXPECT_EQ(Events().count(kQuestion), 1);
    EXPECT_EQ(Events().count(QStringLiteral("EnterPassword talk.ppt")), 1);
    EXPECT_EQ(Events().count(QStringLiteral("CreateDispatch PowerPoint.Application")), 1);
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_TRUE(page.Boxes().size() == 1 && page.Boxes()[0].endsWith(kQuestion.mid(4)))
        << Lines(page.Boxes());

    // A 97-2003 presentation protected with a password: after the first
    // password fails, the reason is told and nothing more is asked.
    QTemporaryDir folder;
    const QString encrypted = folder.filePath(QStringLiteral("locked.ppt"));
    QByteArray bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    bytes.append(512 + 3 * 128 - bytes.size(), '\0');
    QByteArray entry;
    for (const char c : QByteArray("EncryptedSummary"))
        entry.append(c).append('\0');
    entry.append(2, '\0').append(64 - 34, '\0');
    entry.append(char(34)).append('\0').append(char(2)).append(128 - 67, '\0');
    bytes.append(entry).append(128, '\0');
    ASSERT_TRUE(testtools::WriteFile(encrypted, bytes));
    log.Clear();
    page.answers << IDYES << IDYES;
    page.passwords << QStringLiteral("guess") << QStringLiteral("another");
    ConvertPowerPoint(page, encrypted);
    const QStringList boxes = page.Boxes();
    ASSERT_EQ(boxes.size(), 3) << Lines(boxes);
    EXPECT_TRUE(boxes[1].endsWith(kQuestion.mid(4)));
    EXPECT_TRUE(
        boxes[2].contains(encrypted + QStringLiteral(" was not converted.\nIt is a PowerPoint 97-2003 "
                                                     "presentation protected with a password")))
        << Lines(boxes);
    EXPECT_EQ(Events().count(QStringLiteral("EnterPassword locked.ppt")), 1);
    EXPECT_EQ(page.passwords.size(), 1) << "asked once";
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_EQ(g_openPassword, kNoPassword);

    // The same bytes without the stream's entry are only a damaged file: asked again.
    bytes.replace(bytes.indexOf(entry), entry.size(), QByteArray(128, '\0'));
    ASSERT_TRUE(testtools::WriteFile(encrypted, bytes));
    page.answers.clear();
    page.answers << IDYES << IDNO;
    page.passwords.clear();
    page.passwords << QStringLiteral("guess");
    log.Clear();
    ConvertPowerPoint(page, encrypted);
    EXPECT_EQ(Events().count(kQuestion), 2);
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(PowerPointConverterTest, APowerPointThatWillNotCloseIsTerminatedThroughItsWindowsProcess)
{
    office.fails = [](const FakeCall& c) { return c.dispid == kClose; };
    ConvertPowerPoint(page, kSource);
    const QStringList events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("terminated 4242"))) << Lines(events);
    EXPECT_FALSE(events.contains(Quit()));
    EXPECT_EQ(page.Converted(), 1) << "the PDF made stands";

    // Without its main window nothing is hidden and nothing can be terminated.
    WindowRegistry::Instance().Unregister(m_window);
    log.Clear();
    office.fails = [](const FakeCall& c) { return c.dispid == kQuit; };
    ConvertPowerPoint(page, kSource);
    EXPECT_FALSE(Events().contains(QStringLiteral("terminated 4242")));
    EXPECT_EQ(page.Converted(), 1);
}

TEST_F(PowerPointConverterTest, UnguardedCallsThatFailEndPowerPointAndGiveTheFileUp)
{
    for (const DISPID failing : {kVisible, kPresentations}) {
        SCOPED_TRACE(failing);
        log.Clear();
        const int ended = office.Ended();
        office.fails = [failing](const FakeCall& c) { return c.dispid == failing; };
        ConvertPowerPoint(page, kSource);
        EXPECT_EQ(office.Ended(), ended + 1);
        EXPECT_EQ(page.Converted(), 0);
        EXPECT_FALSE(Events().contains(kQuestion));
        ASSERT_FALSE(page.Boxes().isEmpty());
        EXPECT_TRUE(page.Boxes().last().contains(QStringLiteral("was not converted")));
    }
}

TEST_F(PowerPointConverterTest, AFailedPdfStepAndAStopAreToldApart)
{
    page.pdfOutcome.made = false;
    page.pdfOutcome.failure = PdfOutcome::Failure::TimedOut;
    page.pdfOutcome.reason = QStringLiteral("Ghostscript did not finish within 10 minutes and was ended.");
    ConvertPowerPoint(page, kSource);
    EXPECT_EQ(page.Boxes().size(), 1);
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_TRUE(Events().contains(Close())) << "the presentation is still closed";

    log.Clear();
    office.printFile.clear(); // the job never completes
    page.stopAtWait = 2;      // this file's wait
    ConvertPowerPoint(page, kSource);
    const QStringList events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("ended PowerPoint.Application")));
    EXPECT_FALSE(events.contains(Pdf(1)));
    EXPECT_FALSE(events.contains(Close()));
    EXPECT_FALSE(events.contains(kQuestion));
    EXPECT_EQ(page.Boxes().size(), 1) << "nothing more after the stop";
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(PowerPointConverterTest, TheTurnToPrintIsTakenWithTheDocumentOpenAndAStopThereEndsTheApplication)
{
    ExpectTurnBetweenOpenAndPrint([&] { ConvertPowerPoint(page, kSource); }, Open(), PrintOut(),
                                  QStringLiteral("PowerPoint.Application"));
}

} // namespace
