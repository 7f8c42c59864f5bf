#pragma once

#include "officehost/HostDocument.h"

class WordApplication;

// A Word document: PrintOut and Close.
class WordDocument : public HostDocument
{
public:
    WordDocument(WordApplication& application, std::shared_ptr<OfficeDocument> document);
};
