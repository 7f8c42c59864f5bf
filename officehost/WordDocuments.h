#pragma once

#include "officehost/AutomationObject.h"

class WordApplication;

// Word's Documents collection: Open.
class WordDocuments : public AutomationObject
{
public:
    explicit WordDocuments(WordApplication& application);

    // The import filter for Word's open-format code (WdOpenFormat); empty
    // lets LibreOffice detect the format.
    static QString FilterForFormat(int format);
    static QString FilterOptionsForFormat(int format);

private:
    WordApplication& m_application;
};
