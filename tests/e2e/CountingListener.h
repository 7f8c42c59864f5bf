#pragma once

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <thread>

// A web server on 127.0.0.1 that counts every connection made to it and
// notes what it was asked for. It answers each request with something a
// document could show (a picture, a stylesheet or a page carrying
// kRemoteText), so whatever reached it would also show in a PDF. It serves
// on a thread of its own: the test may block while a program is asked to
// connect.
class CountingListener
{
public:
    static constexpr const char* kRemoteText = "remotesecret";

    // The picture it sends: the colour of the user's own planted picture.
    explicit CountingListener(QByteArray picture);
    ~CountingListener();
    CountingListener(const CountingListener&) = delete;
    CountingListener& operator=(const CountingListener&) = delete;

    // 0 when no port could be had.
    int Port() const { return m_port; }
    int Connections() const { return m_connections.load(); }
    // The first line of each request ("GET /picture.png HTTP/1.1").
    QStringList Requests() const;

private:
    void Serve();
    void Answer(int connection);

    QByteArray m_picture;
    int m_socket = -1;
    int m_wake[2] = {-1, -1};
    int m_port = 0;
    std::atomic<int> m_connections{0};
    mutable std::mutex m_mutex;
    QStringList m_requests;
    std::thread m_thread;
};
