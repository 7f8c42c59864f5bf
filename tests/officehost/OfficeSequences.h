#pragma once

#include "platform/COleDispatchDriver.h"

#include <QString>

#include <functional>

// Each application's successful sequence of automation calls, call by call
// with the arguments the converters pass, from CreateDispatch to Quit. A
// failing call throws; the host's process id is returned.
namespace officesequences {

qint64 PrintWithWord(const QString& file, int format, const QString& password, const QString& printFile);
qint64 PrintWithExcel(const QString& file, const QString& password, const QString& printFile);
// afterVisible runs right after Visible was set, with the application.
qint64 PrintWithPowerPoint(const QString& file, const QString& printFile,
                           const std::function<void(COleDispatchDriver&)>& afterVisible = {});

// Waits up to 10 s for the process to be gone (ended and reaped).
bool Reaped(qint64 pid);

// Stops Excel's host (SIGSTOP) and asks it for its workbooks with a call
// time limit of one second; the error code the call failed with (S_OK when
// it did not fail). The host's process id in *pid.
SCODE CallStoppedExcel(qint64* pid);

// Whether this kernel gives a process a network of its own, as the host
// asks for one: directly, or inside a user namespace.
bool KernelGivesOwnNetworks();
// The network namespace of a process ("net:[4026531840]").
QByteArray NetworkOf(qint64 pid);

} // namespace officesequences
