#pragma once

#include "officehost/HostDocument.h"

class ExcelApplication;

// An Excel workbook: PrintOut and Close.
class ExcelWorkbook : public HostDocument
{
public:
    ExcelWorkbook(ExcelApplication& application, std::shared_ptr<OfficeDocument> document);
};
