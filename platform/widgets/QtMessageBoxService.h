#pragma once

#include "platform/MessageBoxService.h"

// Shows a QMessageBox with the request's exact text (as plain text, never
// markup), caption, buttons and icon, modal over the owner's window. Call it
// on the GUI thread; MessageBoxDispatcher brings other threads' boxes there.
class QtMessageBoxService : public MessageBoxService
{
public:
    int Show(const MessageBoxRequest& request) override;
};
