#include "ConverterTestFixture.h"

#include "converters/Converters.h"
#include "platform/OfficeDispids.h"

#include <QCoreApplication>
#include <QFile>

using namespace exceldispid;

namespace {

const QString kExcel = QStringLiteral("Excel.Application");
const QString kSource = QStringLiteral("/books/report.xls");
const Variant kNo = Variant::I2(0);
const Variant kYes = Variant::I2(1);
const Variant kZero = Variant::I4(0);
const Variant kOne = Variant::I4(1);
const Variant kOmitted = Variant::Missing();

class ExcelConverterTest : public ConverterTest
{
protected:
    ExcelConverterTest() { AddExcelObjects(office); }

    static QStringList Start()
    {
        return {QStringLiteral("CreateDispatch Excel.Application"), QStringLiteral("ender set"),
                CallLine(kExcel, kVisible, DISPATCH_PROPERTYPUT, {Variant::Bool(false)}),
                CallLine(kExcel, kWorkbooks, DISPATCH_PROPERTYGET)};
    }
    static QString Open(const QString& password)
    {
        return CallLine(QStringLiteral("Workbooks"), kOpen, DISPATCH_METHOD,
                        {Variant::Bstr(kSource), kZero, kYes, kOmitted, Variant::Bstr(password), kOmitted,
                         kYes, kOmitted, kOmitted, kNo, kNo, kOmitted, kNo});
    }
    QString PrintOut() const
    {
        return CallLine(QStringLiteral("Workbook"), kPrintOut, DISPATCH_METHOD,
                        {kOmitted, kOmitted, kOne, kNo, Variant::Bstr(QStringLiteral("Foliant")), kOmitted,
                         kOmitted, Variant::Bstr(m_spool)});
    }
    static QString Close()
    {
        return CallLine(QStringLiteral("Workbook"), kClose, DISPATCH_METHOD, {kNo, kNo, kNo});
    }
    static QString Quit() { return CallLine(kExcel, kQuit, DISPATCH_METHOD); }
    // The wait for the spool file, at most ten minutes.
    static QStringList Wait() { return {QStringLiteral("WaitUntil 600000")}; }
    static QString Pdf(int converted)
    {
        return QStringLiteral("MakePdfFromSpool %1 (converted %2)").arg(kSource).arg(converted);
    }
    void OnlyOpensWith(const QString& password)
    {
        office.fails = [password](const FakeCall& c) {
            return c.dispid == kOpen && c.arguments.value(4).bstrVal() != password;
        };
    }
};

TEST_F(ExcelConverterTest, AWorkbookIsPrintedWaitedForMadeIntoAPdfClosedAndQuitCallForCall)
{
    ConvertExcel(page, kSource);
    const QStringList expected = Start() + QStringList{Open(kNoPassword), PrintOut()} + Wait() +
                                 QStringList{Pdf(1), Close(), Quit(), QStringLiteral("ender cleared")};
    EXPECT_EQ(Events(), expected) << Lines(Events());
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_TRUE(page.Boxes().isEmpty());
}

TEST_F(ExcelConverterTest, NoExcelGivesItsMessageOnce)
{
    office.refuseToStart = true;
    page.SetConverted(1);
    ConvertExcel(page, kSource);
    EXPECT_EQ(Events(), (QStringList{QStringLiteral("CreateDispatch Excel.Application"),
                                     QStringLiteral("box %1|0x30|Couldn't get Excel object.")
                                         .arg(QCoreApplication::applicationName())}));
    EXPECT_EQ(page.Converted(), 0);
}

TEST_F(ExcelConverterTest, AProtectedWorkbookIsRetriedWithEachTypedPassword)
{
    // Cancel at once.
    OnlyOpensWith(QStringLiteral("secret"));
    page.passwords.enqueue(std::nullopt);
    ConvertExcel(page, kSource);
    EXPECT_EQ(Events(), (Start() + QStringList{Open(kNoPassword), Quit(), QStringLiteral("ender cleared"),
                                               QStringLiteral("EnterPassword report.xls")}))
        << Lines(Events());
    EXPECT_EQ(page.Converted(), 0);

    // Wrong, then right.
    log.Clear();
    page.passwords << QStringLiteral("wrong") << QStringLiteral("secret");
    ConvertExcel(page, kSource);
    EXPECT_EQ(EventsWith(
                  {QStringLiteral("Workbooks 682"), QStringLiteral("EnterPassword"), QStringLiteral("Make")}),
              (QStringList{Open(kNoPassword), QStringLiteral("EnterPassword report.xls"),
                           Open(QStringLiteral("wrong")), QStringLiteral("EnterPassword report.xls"),
                           Open(QStringLiteral("secret")), Pdf(1)}))
        << Lines(Events());
    EXPECT_EQ(office.Started(), 1 + 3);
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_EQ(g_openPassword, kNoPassword);

    // An empty field retries with the placeholder; Cancel at the nested prompt.
    log.Clear();
    page.passwords << QString() << std::nullopt;
    ConvertExcel(page, kSource);
    EXPECT_EQ(EventsWith({QStringLiteral("Workbooks 682"), QStringLiteral("EnterPassword")}),
              (QStringList{Open(kNoPassword), QStringLiteral("EnterPassword report.xls"), Open(kNoPassword),
                           QStringLiteral("EnterPassword report.xls")}));
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_EQ(g_openPassword, kNoPassword);
}

TEST_F(ExcelConverterTest, APrintThatFailsAfterTheOpenStillRunsThePdfStepOnAnEmptiedSpoolFile)
{
    QFile stale(m_spool);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("%!PS the previous workbook\n");
    stale.close();
    office.fails = [](const FakeCall& c) { return c.dispid == kPrintOut; };
    bool staleAtPdfStep = true;
    page.pdfOutcome.made = false;
    page.pdfOutcome.failure = PdfOutcome::Failure::EmptySpool;
    page.pdfOutcome.reason = QStringLiteral("The print job wrote no PostScript.");
    ConvertExcel(page, kSource);
    staleAtPdfStep = QFile::exists(m_spool);
    const QStringList expected =
        Start() + QStringList{Open(kNoPassword), PrintOut(), Close(), Quit()} +
        QStringList{Pdf(1),
                    QStringLiteral("box Foliant 3.0|0x30|The PDF of /books/report.xls "
                                   "could not be made.\nThe print job wrote no PostScript."),
                    Quit(), QStringLiteral("ender cleared")};
    EXPECT_EQ(Events(), expected) << Lines(Events());
    EXPECT_FALSE(staleAtPdfStep) << "the previous workbook's pages never become this file's PDF";
    EXPECT_EQ(page.Boxes(),
              QStringList{QStringLiteral("Foliant 3.0|0x30|The PDF of /books/report.xls could not be "
                                         "made.\nThe print job wrote no PostScript.")});
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_FALSE(Events().contains(QStringLiteral("EnterPassword report.xls")));
}

TEST_F(ExcelConverterTest, UnguardedCallsThatFailEndExcelAndGiveTheFileUp)
{
    for (const DISPID failing : {kVisible, kWorkbooks}) {
        SCOPED_TRACE(failing);
        log.Clear();
        const int ended = office.Ended();
        office.fails = [failing](const FakeCall& c) { return c.dispid == failing; };
        ConvertExcel(page, kSource);
        EXPECT_EQ(office.Ended(), ended + 1);
        EXPECT_EQ(page.Converted(), 0);
        EXPECT_FALSE(Events().contains(Pdf(1)));
        ASSERT_FALSE(page.Boxes().isEmpty());
        EXPECT_TRUE(page.Boxes().last().contains(QStringLiteral("was not converted")));
    }
    // A Close that fails at the end ends Excel; the PDF made stands.
    log.Clear();
    office.fails = [](const FakeCall& c) { return c.dispid == kClose; };
    ConvertExcel(page, kSource);
    EXPECT_EQ(page.Converted(), 1);
    EXPECT_TRUE(Events().contains(QStringLiteral("ended Excel.Application")));
    EXPECT_FALSE(Events().contains(Quit()));
}

TEST_F(ExcelConverterTest, AWaitForTheSpoolFileEndsAtAStopOrAtTheLimit)
{
    // The print request returns before the job is complete, and the job never is.
    office.printFile.clear();
    page.stopAtWait = 1;
    ConvertExcel(page, kSource);
    QStringList events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("ended Excel.Application")));
    EXPECT_EQ(events.count(Wait().first()), 1);
    EXPECT_FALSE(events.contains(Pdf(1)));
    EXPECT_FALSE(events.contains(Close()));
    EXPECT_EQ(page.Converted(), 0);
    EXPECT_TRUE(page.Boxes().isEmpty());

    FakePage patient(log);
    log.Clear();
    ConvertExcel(patient, kSource);
    events = Events();
    EXPECT_TRUE(events.contains(QStringLiteral("ended Excel.Application")));
    EXPECT_FALSE(events.contains(Pdf(1)));
    EXPECT_EQ(patient.Converted(), 0);
    EXPECT_EQ(patient.Boxes(), QStringList{QStringLiteral("Foliant 3.0|0x30|/books/report.xls was not "
                                                          "converted.\nExcel did not finish printing within "
                                                          "10 minutes and was ended.")});
}

TEST_F(ExcelConverterTest, TheTurnToPrintIsTakenWithTheDocumentOpenAndAStopThereEndsTheApplication)
{
    ExpectTurnBetweenOpenAndPrint([&] { ConvertExcel(page, kSource); }, Open(kNoPassword), PrintOut(),
                                  QStringLiteral("Excel.Application"));
}

} // namespace
