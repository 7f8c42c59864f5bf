#include "ScriptedMessageBoxes.h"

#include <QThread>

void ScriptedMessageBoxes::Answer(int answer)
{
    QMutexLocker lock(&m_mutex);
    m_answers.enqueue(answer);
}

int ScriptedMessageBoxes::Show(const MessageBoxRequest& request)
{
    QMutexLocker lock(&m_mutex);
    m_boxes.append({request, QThread::currentThread()});
    if (m_answers.isEmpty()) {
        ++m_unanswered;
        return DismissAnswer(request.type);
    }
    return m_answers.dequeue();
}

QList<ScriptedMessageBoxes::Box> ScriptedMessageBoxes::Boxes() const
{
    QMutexLocker lock(&m_mutex);
    return m_boxes;
}

QStringList ScriptedMessageBoxes::Texts() const
{
    QStringList texts;
    for (const Box& box : Boxes())
        texts << box.request.text;
    return texts;
}

int ScriptedMessageBoxes::Unanswered() const
{
    QMutexLocker lock(&m_mutex);
    return m_unanswered;
}
