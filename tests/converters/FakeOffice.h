#pragma once

#include "EventLog.h"

#include "platform/COleDispatchDriver.h"

#include <QMap>
#include <QPair>

#include <functional>

// One call a converter made on a fake automation object.
struct FakeCall
{
    QString object; // "Word.Application", "Documents", ...
    DISPID dispid = 0;
    WORD kind = 0;
    VariantList arguments;
};

// The line a call leaves in the log: object, DISPID, kind and every
// argument with its type.
QString CallLine(const QString& object, DISPID dispid, WORD kind, const VariantList& arguments = {});

// A fake automation server for the converter tests: CreateDispatch gives an
// application object of the ProgID's name; every call on it or on the
// objects it hands out is logged and answered from the tables below.
class FakeOffice : public IDispatchFactory
{
public:
    explicit FakeOffice(EventLog& log);
    ~FakeOffice() override;

    LPDISPATCH CreateDispatch(const QString& progId) override;

    // Members that answer with another object: (object, DISPID) -> its name.
    QMap<QPair<QString, DISPID>, QString> children;
    // Answers of members that return a value (after a failure check).
    std::function<Variant(const FakeCall&)> results;
    // Calls that fail (COleDispatchException), decided call by call.
    std::function<bool(const FakeCall&)> fails;
    // CreateDispatch gives nothing.
    bool refuseToStart = false;
    // A PrintOut that succeeds puts a complete job here, as the host's
    // printer does (none when empty).
    QString printFile;

    // Hosts started and ended through their ender.
    int Started() const { return m_started; }
    int Ended() const { return m_ended; }

    Variant Answer(const FakeCall& call);
    void EndHost(const QString& progId);

private:
    EventLog& m_log;
    int m_started = 0;
    int m_ended = 0;
};

// The applications' object trees as the converters walk them.
void AddWordObjects(FakeOffice& office);
void AddExcelObjects(FakeOffice& office);
void AddPowerPointObjects(FakeOffice& office);
