#pragma once

#include "platform/DialogCommandIds.h"

#include <QString>

class QObject;

// Message boxes with the buttons, icons and answers of the Windows message
// box, so every box keeps its exact text, caption, buttons and icon.

// Buttons (low four bits of the type).
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_TYPEMASK = 0xF;
// Icons.
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;

struct MessageBoxRequest
{
    QString text;
    QString caption;
    unsigned type = MB_OK;    // buttons | icon
    QObject* owner = nullptr; // the window the box belongs to (a widget), or none

    unsigned Buttons() const { return type & MB_TYPEMASK; }
    unsigned Icon() const { return type & MB_ICONMASK; }
};

// The answer a box gives when it is dismissed without a choice (Escape, or
// the box could not be shown): Cancel where there is one, else No, else OK.
int DismissAnswer(unsigned type);

class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    // Shows the box and returns the answer (IDOK, IDYES, ...).
    // Implementations say from which threads they may be called.
    virtual int Show(const MessageBoxRequest& request) = 0;
};

// The program's service; callable from any thread. Set once at start (and by
// tests); returns the one it replaces. With none set, a box is written to
// standard error and answered with its dismiss answer.
MessageBoxService* SetMessageBoxService(MessageBoxService* service);

// MessageBox(owner, text, caption, type).
int MessageBox(QObject* owner, const QString& text, const QString& caption, unsigned type);

// The framework's application message box: the application name as caption,
// and, when the type names no icon, the exclamation mark for OK and
// OK/Cancel boxes and the question mark for Yes/No boxes.
int AfxMessageBox(const QString& text, unsigned type = MB_OK);
