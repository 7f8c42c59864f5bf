#pragma once

#include "platform/MessageBoxService.h"

#include <QObject>

// Makes a box callable from any thread: the box is shown by the thread the
// dispatcher lives in (the GUI thread), and a worker that asks blocks until
// the user has answered. When the dispatcher is destroyed while a worker
// waits, the worker gets the box's dismiss answer.
class MessageBoxDispatcher : public QObject, public MessageBoxService
{
    Q_OBJECT
public:
    // presenter shows boxes on this object's thread only.
    explicit MessageBoxDispatcher(MessageBoxService& presenter, QObject* parent = nullptr);

    int Show(const MessageBoxRequest& request) override;

private:
    MessageBoxService& m_presenter;
};
