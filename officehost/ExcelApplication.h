#pragma once

#include "officehost/HostApplication.h"

class ExcelWorkbooks;

// "Excel.Application": Visible, Workbooks and Quit.
class ExcelApplication : public HostApplication
{
public:
    ExcelApplication(LibreOffice& office, PrintSpooler& spooler);

private:
    std::shared_ptr<ExcelWorkbooks> m_workbooks;
};
