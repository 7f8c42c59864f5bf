#pragma once

#include "officehost/HostApplication.h"

class WordDocuments;

// "Word.Application": Visible, ActivePrinter, Documents,
// BackgroundPrintingStatus and Quit.
class WordApplication : public HostApplication
{
public:
    WordApplication(LibreOffice& office, PrintSpooler& spooler);

private:
    std::shared_ptr<WordDocuments> m_documents;
};
