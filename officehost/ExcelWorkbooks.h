#pragma once

#include "officehost/AutomationObject.h"

class ExcelApplication;

// Excel's Workbooks collection: Open.
class ExcelWorkbooks : public AutomationObject
{
public:
    explicit ExcelWorkbooks(ExcelApplication& application);

private:
    ExcelApplication& m_application;
};
