#pragma once

#include "platform/ProcessRunner.h"

// ProcessRunner on QProcess. Usable from any thread; it needs no event loop.
class QtProcessRunner : public ProcessRunner
{
public:
    ProcessResult Run(const ProcessRequest& request) override;
};
