#pragma once

#include "officehost/HostDocument.h"

class PowerPointApplication;

// A PowerPoint presentation: PrintOut and Close.
class PowerPointPresentation : public HostDocument
{
public:
    PowerPointPresentation(PowerPointApplication& application, std::shared_ptr<OfficeDocument> document);
};
