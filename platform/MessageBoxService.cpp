#include "platform/MessageBoxService.h"

#include <QCoreApplication>

#include <atomic>
#include <cstdio>

namespace {

std::atomic<MessageBoxService*> g_service{nullptr};

} // namespace

int DismissAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

MessageBoxService* SetMessageBoxService(MessageBoxService* service)
{
    return g_service.exchange(service);
}

int MessageBox(QObject* owner, const QString& text, const QString& caption, unsigned type)
{
    const MessageBoxRequest request{text, caption, type, owner};
    if (MessageBoxService* service = g_service.load())
        return service->Show(request);
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    return DismissAnswer(type);
}

int AfxMessageBox(const QString& text, unsigned type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return MessageBox(nullptr, text, QCoreApplication::applicationName(), type);
}
