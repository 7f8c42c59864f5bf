#pragma once

#include "officehost/AutomationObject.h"

#include <memory>

class PowerPointApplication;

// PowerPoint's Presentations collection: Open.
class PowerPointPresentations : public AutomationObject
{
public:
    explicit PowerPointPresentations(PowerPointApplication& application);

private:
    PowerPointApplication& m_application;
};
