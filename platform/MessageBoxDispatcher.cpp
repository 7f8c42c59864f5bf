#include "platform/MessageBoxDispatcher.h"

#include "platform/GuiThreadCall.h"

MessageBoxDispatcher::MessageBoxDispatcher(MessageBoxService& presenter, QObject* parent)
    : QObject(parent), m_presenter(presenter)
{
}

int MessageBoxDispatcher::Show(const MessageBoxRequest& request)
{
    int answer = DismissAnswer(request.type);
    RunInThreadOf(this, [&] { answer = m_presenter.Show(request); });
    return answer;
}
