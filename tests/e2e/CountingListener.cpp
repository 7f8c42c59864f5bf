#include "CountingListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

CountingListener::CountingListener(QByteArray picture) : m_picture(std::move(picture))
{
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_socket < 0 || ::pipe2(m_wake, O_CLOEXEC) != 0 ||
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_socket, 64) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

CountingListener::~CountingListener()
{
    if (m_thread.joinable()) {
        (void)!::write(m_wake[1], "x", 1);
        m_thread.join();
    }
    for (int fd : {m_socket, m_wake[0], m_wake[1]})
        if (fd >= 0)
            ::close(fd);
}

QStringList CountingListener::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void CountingListener::Serve()
{
    for (;;) {
        pollfd waits[2] = {{m_socket, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(waits, 2, -1) < 0)
            continue;
        if (waits[1].revents)
            return;
        const int connection = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        ++m_connections;
        Answer(connection);
        ::close(connection);
    }
}

void CountingListener::Answer(int connection)
{
    // The request's head; a client that sends nothing within a second is
    // counted all the same.
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n") && request.size() < 65536) {
        pollfd wait{connection, POLLIN, 0};
        if (::poll(&wait, 1, 1000) <= 0)
            break;
        const ssize_t n = ::read(connection, buffer, sizeof buffer);
        if (n <= 0)
            break;
        request.append(buffer, n);
    }
    const QByteArray line = request.left(request.indexOf("\r\n"));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests << QString::fromLatin1(line.isEmpty() ? QByteArray("(nothing asked)") : line);
    }
    const QByteArray path = line.split(' ').value(1);
    QByteArray type = "image/png";
    QByteArray body = m_picture;
    if (path.endsWith(".css")) {
        type = "text/css";
        body = "body { background: #0db15b; } p::before { content: \"" + QByteArray(kRemoteText) + "\"; }";
    } else if (!path.endsWith(".png")) {
        type = "text/html";
        body = "<html><body><p>" + QByteArray(kRemoteText) + "</p></body></html>";
    }
    const QByteArray answer = "HTTP/1.0 200 OK\r\nContent-Type: " + type +
                              "\r\nContent-Length: " + QByteArray::number(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + body;
    (void)!::write(connection, answer.constData(), answer.size());
}
