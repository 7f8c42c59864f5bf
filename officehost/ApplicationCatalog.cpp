#include "officehost/ApplicationCatalog.h"

#include "officehost/ExcelApplication.h"
#include "officehost/PowerPointApplication.h"
#include "officehost/WordApplication.h"

template <class Application>
static std::shared_ptr<HostApplication> Create(LibreOffice& office, PrintSpooler& spooler)
{
    return std::make_shared<Application>(office, spooler);
}

std::optional<ServedApplication> FindServedApplication(const QString& progId)
{
    if (progId == QStringLiteral("Word.Application"))
        return ServedApplication{QStringLiteral("WINWORD.EXE"), Create<WordApplication>};
    if (progId == QStringLiteral("Excel.Application"))
        return ServedApplication{QStringLiteral("EXCEL.EXE"), Create<ExcelApplication>};
    if (progId == QStringLiteral("PowerPoint.Application"))
        return ServedApplication{QStringLiteral("POWERPNT.EXE"), Create<PowerPointApplication>};
    return std::nullopt;
}
