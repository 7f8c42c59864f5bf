#pragma once

#include <QByteArray>

#include <optional>

// Whole messages on a local SOCK_SEQPACKET socket, each able to carry one
// open descriptor to the process at the other end.
namespace descriptormessages {

// Sends bytes, and the descriptor fd when it is not -1. False when the peer
// is gone.
bool Send(int socket, const QByteArray& bytes, int fd = -1);

// Sends all of the bytes on a stream socket or a pipe, however many writes
// it takes. False when the peer is gone.
bool SendAll(int descriptor, const char* bytes, qsizetype size);

// Waits for one message; empty at the peer's end or on an error. A
// descriptor that came with it is put into *fd (close-on-exec), else -1.
std::optional<QByteArray> Receive(int socket, int* fd);

// Waits at most the given time (-1: for ever) for fd to become readable: a
// message, the peer's end, or the end of the process a pidfd stands for.
bool WaitReadable(int fd, int milliseconds);

} // namespace descriptormessages
