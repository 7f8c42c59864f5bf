#include "FakeOffice.h"

#include "platform/OfficeDispids.h"

#include <QFile>

namespace {

QString KindName(WORD kind)
{
    switch (kind) {
    case DISPATCH_METHOD:
        return QStringLiteral("method");
    case DISPATCH_PROPERTYGET:
        return QStringLiteral("get");
    case DISPATCH_PROPERTYPUT:
        return QStringLiteral("put");
    }
    return QStringLiteral("kind %1").arg(kind);
}

class FakeObject : public IDispatch
{
public:
    FakeObject(FakeOffice& office, EventLog& log, QString name, bool application)
        : m_office(office), m_log(log), m_name(std::move(name)), m_application(application)
    {
    }

    Variant Invoke(DISPID dispid, WORD kind, const VariantList& arguments) override
    {
        m_log.Add(CallLine(m_name, dispid, kind, arguments));
        return m_office.Answer({m_name, dispid, kind, arguments});
    }

    std::function<void()> ServerEnder() const override
    {
        if (!m_application)
            return {};
        FakeOffice* office = &m_office;
        const QString name = m_name;
        return [office, name]() { office->EndHost(name); };
    }

private:
    FakeOffice& m_office;
    EventLog& m_log;
    QString m_name;
    bool m_application;
};

} // namespace

QString CallLine(const QString& object, DISPID dispid, WORD kind, const VariantList& arguments)
{
    QStringList texts;
    for (const Variant& v : arguments)
        texts << v.toDebugString();
    return QStringLiteral("%1 %2 %3 (%4)").arg(object).arg(dispid).arg(KindName(kind), texts.join(u", "));
}

FakeOffice::FakeOffice(EventLog& log) : m_log(log)
{
    COleDispatchDriver::SetDispatchFactory(this);
}

FakeOffice::~FakeOffice()
{
    COleDispatchDriver::SetDispatchFactory(nullptr);
}

LPDISPATCH FakeOffice::CreateDispatch(const QString& progId)
{
    m_log.Add(QStringLiteral("CreateDispatch %1").arg(progId));
    if (refuseToStart)
        return nullptr;
    ++m_started;
    return std::make_shared<FakeObject>(*this, m_log, progId, true);
}

Variant FakeOffice::Answer(const FakeCall& call)
{
    if (fails && fails(call))
        throw COleDispatchException(DISP_E_EXCEPTION, QStringLiteral("%1 refused the call").arg(call.object));
    const auto child = children.constFind({call.object, call.dispid});
    if (child != children.constEnd())
        return Variant::Dispatch(std::make_shared<FakeObject>(*this, m_log, *child, false));
    Variant result = results ? results(call) : Variant();
    const bool print = (call.object == u"Document" && call.dispid == worddispid::kPrintOut) ||
                       (call.object == u"Workbook" && call.dispid == exceldispid::kPrintOut) ||
                       (call.object == u"Presentation" && call.dispid == powerpointdispid::kPrintOut);
    if (print && !printFile.isEmpty()) {
        QFile job(printFile);
        if (job.open(QIODevice::WriteOnly))
            job.write("%PDF-1.4 a printed job\n");
    }
    return result;
}

void FakeOffice::EndHost(const QString& progId)
{
    m_log.Add(QStringLiteral("ended %1").arg(progId));
    ++m_ended;
}

void AddWordObjects(FakeOffice& office)
{
    office.children[{QStringLiteral("Word.Application"), worddispid::kDocuments}] =
        QStringLiteral("Documents");
    office.children[{QStringLiteral("Documents"), worddispid::kOpen}] = QStringLiteral("Document");
}

void AddExcelObjects(FakeOffice& office)
{
    office.children[{QStringLiteral("Excel.Application"), exceldispid::kWorkbooks}] =
        QStringLiteral("Workbooks");
    office.children[{QStringLiteral("Workbooks"), exceldispid::kOpen}] = QStringLiteral("Workbook");
}

void AddPowerPointObjects(FakeOffice& office)
{
    office.children[{QStringLiteral("PowerPoint.Application"), powerpointdispid::kPresentations}] =
        QStringLiteral("Presentations");
    office.children[{QStringLiteral("Presentations"), powerpointdispid::kOpen}] = QStringLiteral("Opened");
    office.children[{QStringLiteral("PowerPoint.Application"), powerpointdispid::kActivePresentation}] =
        QStringLiteral("Presentation");
}
