#include "ConverterTestFixture.h"

#include "converters/Converters.h"
#include "platform/OfficeDispids.h"

#include <QCoreApplication>
#include <QFile>

using namespace worddispid;

namespace {

const QString kWord = QStringLiteral("Word.Application");
const QString kSource = QStringLiteral("/docs/Report.doc");
const Variant kNo = Variant::I2(0);
const Variant kYes = Variant::I2(-1);
const Variant kZero = Variant::I4(0);
const Variant kOne = Variant::I4(1);
const Variant kOmitted = Variant::Missing();

class WordConverterTest : public ConverterTest
{
protected:
    WordConverterTest()
    {
        AddWordObjects(office);
        // Two background jobs, then one, then none.
        office.results = [this](const FakeCall& c) {
            if (c.dispid == kBackgroundPrintingStatus)
                return Variant::I4(statuses.isEmpty() ? 0 : statuses.takeFirst());
            return Variant();
        };
    }

    QStringList Start() const
    {
        return {
            QStringLiteral("CreateDispatch Word.Application"), QStringLiteral("ender set"),
            CallLine(kWord, kVisible, DISPATCH_PROPERTYPUT, {Variant::Bool(false)}),
            CallLine(kWord, kActivePrinter, DISPATCH_PROPERTYPUT, {Variant::Bstr(QStringLiteral("Foliant"))}),
            CallLine(kWord, kDocuments, DISPATCH_PROPERTYGET)};
    }
    static QString Open(const QString& password, int format = 0, const QString& file = kSource)
    {
        return CallLine(QStringLiteral("Documents"), kOpen, DISPATCH_METHOD,
                        {Variant::Bstr(file), kNo, kYes, kNo, Variant::Bstr(password), kOmitted, kNo,
                         kOmitted, kOmitted, Variant::I4(format), kOmitted, kYes});
    }
    QString PrintOut() const
    {
        return CallLine(QStringLiteral("Document"), kPrintOut, DISPATCH_METHOD,
                        {kYes, kOmitted, kZero, Variant::Bstr(m_spool), kOmitted, kOmitted, kZero, kOne,
                         kOmitted, kZero, kYes, kYes, kOmitted, kNo, kZero, kZero, kZero, kZero});
    }
    static QString Status() { return CallLine(kWord, kBackgroundPrintingStatus, DISPATCH_PROPERTYGET); }
    // The wait for Word's printing, at most ten minutes.
    static QString Wait() { return QStringLiteral("WaitUntil 600000"); }
    static QString Close()
    {
        return CallLine(QStringLiteral("Document"), kClose, DISPATCH_METHOD, {kNo, kNo, kNo});
    }
    static QString Quit() { return CallLine(kWord, kQuit, DISPATCH_METHOD, {kNo, kNo, kNo}); }
    static QString Pdf(int converted, const QString& file = kSource)
    {
        return QStringLiteral("MakePdfFromSpool %1 (converted %2)").arg(file).arg(converted);
    }
    // A whole successful conversion with one poll that reads 0.
    QStringList Success(const QString& password) const
    {
        return Start() + QStringList{Open(password), QStringLiteral("SetTimer 3 200"), PrintOut(), Wait(),
                                     Status(),       QStringLiteral("KillTimer 3"),    Pdf(1),     Close(),
                                     Quit(),         QStringLiteral("ender cleared")};
    }
    // Open fails for every password but this one.
    void OnlyOpensWith(const QString& password)
    {
        office.fails = [password](const FakeCall& c) {
            return c.dispid == kOpen && c.object == u"Documents" &&
                   c.arguments.value(4).bstrVal() != password;
        };
    }

    QList<int> statuses;
};

TEST_F(WordConverterTest, ADocumentIsPrintedPolledMadeIntoAPdfClosedAndQuitCallForCall)
{
    statuses = {2, 1, 0};
    ConvertWord(page, kSource);
    const QStringList expected = Start() + QStringList{Open(kNoPassword),
                                                       QStringLiteral("SetTimer 3 200"),
                                                       PrintOut(),
                                                       Wait(),
                                                       Status(),
                                                       Status(),
                                                       Status(),
                                                       QStringLiteral("KillTimer 3"),
                                                       Pdf(1),
                                                       Close(),
                                                       Quit(),
                                                       QStringLiteral("ender cleared")};
    EXPECT_EQ(Events(), expected) << Lines(Events());
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_EQ(office.Ended(), 0);
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(WordConverterTest, TheOpenFormatFollowsTheExtension)
{
    const struct
    {
        const char* extension;
        int format;
    } cases[] = {{"doc", 0}, {"docx", 0}, {"dot", 0}, {"htm", 7}, {"html", 7},
                 {"tml", 7}, {"xml", 8},  {"txt", 4}, {"rtf", 3}};
    for (const auto& c : cases) {
        log.Clear();
        const QString file = QStringLiteral("/docs/report.") + QLatin1String(c.extension);
        ConvertWord(page, file);
        EXPECT_TRUE(Events().contains(Open(kNoPassword, c.format, file))) << c.extension << "\n"
                                                                          << Lines(Events());
        EXPECT_EQ(page.Converted(), 1) << c.extension;
    }
}

TEST_F(WordConverterTest, AnUnsupportedTypeIsNamedAndNoWordStarts)
{
    page.SetConverted(1); // the previous file's
    ConvertWord(page, QStringLiteral("/docs/report.pdf"));
    EXPECT_EQ(Events(),
              QStringList{QStringLiteral("box %1|0x30|Not Suppot File /docs/report.pdf,Convert next file?")
                              .arg(QCoreApplication::applicationName())});
    EXPECT_EQ(page.Converted(), 0);
    // A name without any "." is its own extension.
    log.Clear();
    ConvertWord(page, QStringLiteral("/docs/README"));
    EXPECT_EQ(office.Started(), 0);
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(WordConverterTest, NoWordGivesItsMessageOnceAndNothingElse)
{
    office.refuseToStart = true;
    page.SetConverted(1);
    ConvertWord(page, kSource);
    EXPECT_EQ(Events(), (QStringList{QStringLiteral("CreateDispatch Word.Application"),
                                     QStringLiteral("box %1|0x30|Couldn't get Word object.")
                                         .arg(QCoreApplication::applicationName())}));
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(WordConverterTest, ADocumentThatWillNotOpenQuitsWordThenAsksForThePassword)
{
    OnlyOpensWith(QStringLiteral("secret"));
    page.passwords.enqueue(std::nullopt); // Cancel
    ConvertWord(page, kSource);
    const QStringList expected =
        Start() + QStringList{Open(kNoPassword), Quit(), QStringLiteral("ender cleared"),
                              QStringLiteral("EnterPassword Report.doc")};
    EXPECT_EQ(Events(), expected) << Lines(Events());
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_EQ(g_openPassword, kNoPassword);
}

TEST_F(WordConverterTest, PasswordRetriesStartANewWordEachTimeAndForgetThePassword)
{
    // Wrong, then right: three Words, the PDF from the third.
    OnlyOpensWith(QStringLiteral("secret"));
    page.passwords << QStringLiteral("wrong") << QStringLiteral("secret");
    ConvertWord(page, kSource);
    const QStringList failedOpen = {Quit(), QStringLiteral("ender cleared")};
    QStringList expected = Start() + QStringList{Open(kNoPassword)} + failedOpen +
                           QStringList{QStringLiteral("EnterPassword Report.doc")} + Start() +
                           QStringList{Open(QStringLiteral("wrong"))} + failedOpen +
                           QStringList{QStringLiteral("EnterPassword Report.doc")} +
                           Success(QStringLiteral("secret"));
    EXPECT_EQ(Events(), expected) << Lines(Events());
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_EQ(g_openPassword, kNoPassword) << "no password outlives its file";

    // The next file opens with the placeholder again.
    log.Clear();
    office.fails = {};
    ConvertWord(page, QStringLiteral("/docs/next.doc"));
    EXPECT_TRUE(Events().contains(Open(kNoPassword, 0, QStringLiteral("/docs/next.doc")))) << Lines(Events());
}

TEST_F(WordConverterTest, CancelAtANestedPromptGivesTheFileUp)
{
    OnlyOpensWith(QStringLiteral("secret"));
    page.passwords << QStringLiteral("wrong") << std::nullopt;
    ConvertWord(page, kSource);
    EXPECT_EQ(EventsWith({QStringLiteral("CreateDispatch"), QStringLiteral("EnterPassword"),
                          QStringLiteral("Make")}),
              (QStringList{QStringLiteral("CreateDispatch Word.Application"),
                           QStringLiteral("EnterPassword Report.doc"),
                           QStringLiteral("CreateDispatch Word.Application"),
                           QStringLiteral("EnterPassword Report.doc")}));
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_EQ(g_openPassword, kNoPassword);
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(WordConverterTest, OkWithAnEmptyFieldRetriesWithThePlaceholder)
{
    OnlyOpensWith(QStringLiteral("secret"));
    page.passwords << QString() << std::nullopt;
    ConvertWord(page, kSource);
    const QStringList opens = EventsWith({QStringLiteral("Documents 15")});
    EXPECT_EQ(opens, (QStringList{Open(kNoPassword), Open(kNoPassword)}));
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(WordConverterTest, EveryUnguardedCallThatFailsEndsWordAndGivesTheFileUp)
{
    const struct
    {
        QString object;
        DISPID dispid;
    } calls[] = {{kWord, kVisible},
                 {kWord, kActivePrinter},
                 {kWord, kDocuments},
                 {QStringLiteral("Document"), kPrintOut},
                 {kWord, kBackgroundPrintingStatus}};
    for (const auto& failing : calls) {
        SCOPED_TRACE(failing.dispid);
        log.Clear();
        statuses = {1, 0};
        const int ended = office.Ended();
        office.fails = [&](const FakeCall& c) {
            return c.object == failing.object && c.dispid == failing.dispid;
        };
        ConvertWord(page, kSource);
        const QStringList events = Events();
        EXPECT_EQ(office.Ended(), ended + 1) << Lines(events);
        EXPECT_EQ(page.Converted(), 0);
        EXPECT_FALSE(events.contains(Pdf(1)));
        EXPECT_FALSE(events.contains(Close()));
        ASSERT_FALSE(page.Boxes().isEmpty());
        EXPECT_TRUE(page.Boxes().last().startsWith(
            QStringLiteral("Foliant 3.0|0x30|/docs/Report.doc was not converted.")))
            << Lines(page.Boxes());
        EXPECT_FALSE(events.contains(QStringLiteral("EnterPassword Report.doc"))) << "only the open asks";
        EXPECT_EQ(events.count(QStringLiteral("SetTimer 3 200")),
                  events.count(QStringLiteral("KillTimer 3")));
        EXPECT_EQ(events.last(), QStringLiteral("ender cleared"));
    }
}

TEST_F(WordConverterTest, AWordThatNeverFinishesPrintingIsEndedAfterTenMinutes)
{
    office.results = [](const FakeCall& c) {
        return c.dispid == kBackgroundPrintingStatus ? Variant::I4(1) : Variant();
    };
    ConvertWord(page, kSource);
    const QStringList events = Events();
    EXPECT_EQ(events.count(Wait()), 1);
    EXPECT_EQ(events.count(Status()), page.pollsBeforeLimit + 1);
    EXPECT_EQ(office.Ended(), 1);
    EXPECT_FALSE(events.contains(Pdf(1)));
    EXPECT_EQ(page.Converted(), 0);
    ASSERT_EQ(page.Boxes().size(), 1);
    EXPECT_TRUE(page.Boxes()[0].contains(QStringLiteral("10 minutes"))) << Lines(page.Boxes());
    EXPECT_TRUE(events.contains(QStringLiteral("KillTimer 3")));
}

TEST_F(WordConverterTest, AFailedPdfStepIsToldOnceAndTheFileIsNotConverted)
{
    page.pdfOutcome.made = false;
    page.pdfOutcome.failure = PdfOutcome::Failure::ToolFailed;
    page.pdfOutcome.reason = QStringLiteral("Error: /undefined in foo");
    ConvertWord(page, kSource);
    EXPECT_EQ(page.Boxes(),
              QStringList{QStringLiteral("Foliant 3.0|0x30|The PDF of /docs/Report.doc could not be "
                                         "made.\nError: /undefined in foo")});
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_EQ(Events().mid(Events().size() - 3),
              (QStringList{Close(), Quit(), QStringLiteral("ender cleared")}));
}

TEST_F(WordConverterTest, AWordThatWillNotCloseIsEndedAndThePdfStands)
{
    office.fails = [](const FakeCall& c) { return c.object == u"Document" && c.dispid == kClose; };
    ConvertWord(page, kSource);
    EXPECT_EQ(office.Ended(), 1);
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_FALSE(Events().contains(Quit()));
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(WordConverterTest, StopEndsWordAndNothingFollows)
{
    // Stopped while Word prints.
    statuses = {1, 1, 0};
    page.stopAtWait = 1;
    ConvertWord(page, kSource);
    QStringList events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("ended Word.Application"))) << Lines(events);
    EXPECT_EQ(events.count(Status()), 1) << "no read after the stop";
    EXPECT_FALSE(events.contains(Pdf(1)));
    EXPECT_FALSE(events.contains(Close()));
    EXPECT_FALSE(events.contains(Quit()));
    EXPECT_EQ(events.last(), QStringLiteral("ender cleared"));
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(WordConverterTest, StopInThePdfStepAsksNothingAndClosesNothing)
{
    page.stopInPdfStep = true;
    ConvertWord(page, kSource);
    const QStringList events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("ended Word.Application")));
    EXPECT_FALSE(events.contains(Close()));
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_TRUE(page.Boxes().isEmpty());

    // A stopped run starts no Word at all.
    log.Clear();
    ConvertWord(page, kSource);
    EXPECT_TRUE(Events().isEmpty()) << Lines(Events());
}

TEST_F(WordConverterTest, TheSpoolFileIsEmptiedBeforeThePrint)
{
    ASSERT_TRUE(QFile(m_spool).open(QIODevice::WriteOnly));
    QFile stale(m_spool);
    stale.open(QIODevice::WriteOnly);
    stale.write("%!PS the previous file\n");
    stale.close();
    bool staleAtPrint = true;
    office.results = [&](const FakeCall& c) {
        if (c.dispid == kPrintOut)
            staleAtPrint = QFile::exists(m_spool);
        return Variant();
    };
    ConvertWord(page, kSource);
    EXPECT_FALSE(staleAtPrint);
}

TEST_F(WordConverterTest, TheTurnToPrintIsTakenWithTheDocumentOpenAndAStopThereEndsTheApplication)
{
    ExpectTurnBetweenOpenAndPrint([&] { ConvertWord(page, kSource); }, Open(kNoPassword), PrintOut(),
                                  QStringLiteral("Word.Application"));
}

} // namespace
