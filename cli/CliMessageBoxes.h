#pragma once

#include "platform/MessageBoxService.h"

// The converters' boxes in a run without windows: each goes to the page of
// the job whose thread shows it and becomes that file's reason; a box from
// outside any job is written to standard error.
class CliMessageBoxes : public MessageBoxService
{
public:
    int Show(const MessageBoxRequest& request) override;
};
