#include "platform/COleDispatchDriver.h"
#include "platform/OfficeHostConnection.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

// A fake automation object: records calls and answers with a set result.
class RecordingDispatch : public IDispatch
{
public:
    Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) override
    {
        calls.append({dispid, kind, arguments});
        if (fail)
            throw COleDispatchException(DISP_E_EXCEPTION, QStringLiteral("refused"));
        return result;
    }
    struct Call
    {
        DISPID dispid;
        WORD kind;
        VariantList arguments;
    };
    QList<Call> calls;
    Variant result;
    bool fail = false;
};

class FakeFactory : public IDispatchFactory
{
public:
    LPDISPATCH CreateDispatch(const QString& progId) override
    {
        asked.append(progId);
        return object;
    }
    std::shared_ptr<RecordingDispatch> object = std::make_shared<RecordingDispatch>();
    QStringList asked;
};

class DispatchDriverTest : public ::testing::Test
{
protected:
    void SetUp() override { COleDispatchDriver::SetDispatchFactory(&factory); }
    void TearDown() override { COleDispatchDriver::SetDispatchFactory(nullptr); }
    FakeFactory factory;
};

TEST_F(DispatchDriverTest, CallsGoToTheObjectWithTheirArgumentsInOrder)
{
    COleDispatchDriver driver;
    ASSERT_TRUE(driver.CreateDispatch(QStringLiteral("Word.Application")));
    EXPECT_EQ(factory.asked, QStringList{QStringLiteral("Word.Application")});
    driver.SetProperty(66, Variant::Bstr(QStringLiteral("Foliant")));
    driver.InvokeHelper(1105, DISPATCH_METHOD, VT_EMPTY, {Variant::I2(0), Variant::Missing()});
    ASSERT_EQ(factory.object->calls.size(), 2);
    EXPECT_EQ(factory.object->calls[0].dispid, 66);
    EXPECT_EQ(factory.object->calls[0].kind, DISPATCH_PROPERTYPUT);
    EXPECT_EQ(factory.object->calls[1].arguments, (VariantList{Variant::I2(0), Variant::Missing()}));
}

TEST_F(DispatchDriverTest, AFactoryPutInFrontCallsOnToTheOneItReplacedAndPutsItBack)
{
    struct Front : IDispatchFactory
    {
        LPDISPATCH CreateDispatch(const QString& progId) override
        {
            asked.append(progId);
            return next->CreateDispatch(progId);
        }
        IDispatchFactory* next = nullptr;
        QStringList asked;
    } front;
    front.next = COleDispatchDriver::SetDispatchFactory(&front);
    EXPECT_EQ(front.next, &factory);
    COleDispatchDriver driver;
    ASSERT_TRUE(driver.CreateDispatch(QStringLiteral("Excel.Application")));
    EXPECT_EQ(front.asked, QStringList{QStringLiteral("Excel.Application")});
    EXPECT_EQ(factory.asked, QStringList{QStringLiteral("Excel.Application")});
    EXPECT_EQ(driver.m_lpDispatch, factory.object);
    EXPECT_EQ(COleDispatchDriver::SetDispatchFactory(front.next), &front);
}

TEST_F(DispatchDriverTest, ResultsAreConvertedToTheTypeAskedFor)
{
    COleDispatchDriver driver;
    ASSERT_TRUE(driver.CreateDispatch(QStringLiteral("Word.Application")));
    factory.object->result = Variant::I2(3);
    EXPECT_EQ(driver.GetProperty(86, VT_I4), Variant::I4(3));
    EXPECT_EQ(driver.GetProperty(86, VT_BOOL), Variant::Bool(true));
    EXPECT_EQ(driver.InvokeHelper(86, DISPATCH_PROPERTYGET, VT_EMPTY).vt(), VT_EMPTY);
    factory.object->result = Variant::I4(70000);
    EXPECT_THROW(driver.GetProperty(86, VT_I2), COleDispatchException) << "out of VT_I2's range";
    factory.object->result = Variant::Bstr(QStringLiteral("3"));
    try {
        driver.GetProperty(86, VT_I4);
        ADD_FAILURE() << "a text became a number";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_scError, DISP_E_TYPEMISMATCH);
    }
}

TEST_F(DispatchDriverTest, FailuresAreExceptionsOneCatchAllCatches)
{
    COleDispatchDriver driver;
    EXPECT_THROW(driver.InvokeHelper(6, DISPATCH_PROPERTYGET, VT_DISPATCH), CException) << "no object held";
    ASSERT_TRUE(driver.CreateDispatch(QStringLiteral("Excel.Application")));
    factory.object->fail = true;
    EXPECT_THROW(driver.InvokeHelper(0x2AA, DISPATCH_METHOD, VT_DISPATCH), CException);
    driver.ReleaseDispatch();
    EXPECT_FALSE(driver.m_lpDispatch);
    factory.object = nullptr;
    EXPECT_FALSE(driver.CreateDispatch(QStringLiteral("Excel.Application")));
}

TEST(OfficeHostConnection, AProgramThatIsNoHostIsRefusedQuickly)
{
    QElapsedTimer clock;
    clock.start();
    QString why;
    EXPECT_FALSE(
        OfficeHostConnection::Start(QStringLiteral("/nonexistent/officehost"), QStringLiteral("x"), &why));
    EXPECT_FALSE(why.isEmpty());
    // `false` ends without a word; `echo` answers with text that is no frame.
    EXPECT_FALSE(
        OfficeHostConnection::Start(QStringLiteral("/bin/false"), QStringLiteral("Word.Application"), &why));
    EXPECT_FALSE(
        OfficeHostConnection::Start(QStringLiteral("/bin/echo"), QStringLiteral("Word.Application"), &why));
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST(OfficeHostConnection, AProgramThatNeverGreetsIsEndedAtTheStartLimit)
{
    OfficeHostConnection::SetStartTimeLimit(500);
    QString why;
    EXPECT_FALSE(OfficeHostConnection::Start(QStringLiteral("/bin/sleep"), QStringLiteral("30"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("in time"))) << why.toStdString();
    OfficeHostConnection::SetStartTimeLimit(2 * 60 * 1000);
}

} // namespace
