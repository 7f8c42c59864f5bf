#pragma once

#include "ScopedOverride.h"
#include "platform/MessageBoxService.h"

#include <QList>
#include <QMutex>
#include <QQueue>
#include <QStringList>

class QThread;

// Puts a message-box service in place for a scope.
using MessageBoxOverride = ScopedOverride<decltype(&SetMessageBoxService)>;

// The test stand-in for message boxes: records every box it is shown, with
// the thread that showed it, and gives the next scripted answer. A box with
// no answer left gets its dismiss answer and is counted as unanswered.
class ScriptedMessageBoxes : public MessageBoxService
{
public:
    struct Box
    {
        MessageBoxRequest request;
        QThread* thread = nullptr;
    };

    void Answer(int answer);
    int Show(const MessageBoxRequest& request) override;

    QList<Box> Boxes() const;
    // The texts of the boxes shown, in order.
    QStringList Texts() const;
    int Unanswered() const;

private:
    mutable QMutex m_mutex;
    QQueue<int> m_answers;
    QList<Box> m_boxes;
    int m_unanswered = 0;
};
