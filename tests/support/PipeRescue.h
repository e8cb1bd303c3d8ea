#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

// After `after`, keeps opening a named pipe from the other end and closing it again until stopped:
// code blocked opening it gets going, code blocked reading it meets its end, and the test fails
// instead of hanging. Stop() says whether the pipe had to be opened.
class PipeRescue
{
public:
    PipeRescue(const QString& path, std::chrono::milliseconds after)
        : thread([this, name = QFile::encodeName(path), after] { Watch(name, after); })
    {
    }
    ~PipeRescue() { Stop(); }
    PipeRescue(const PipeRescue&) = delete;
    PipeRescue& operator=(const PipeRescue&) = delete;

    bool Stop()
    {
        done = true;
        if (thread.joinable())
            thread.join();
        return rescued;
    }

private:
    void Watch(const QByteArray& name, std::chrono::milliseconds after)
    {
        const auto deadline = std::chrono::steady_clock::now() + after;
        while (!done && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!done) {
            // Read and write at once: never blocks, whoever waits at the other end.
            const int descriptor = ::open(name.constData(), O_RDWR | O_NONBLOCK);
            if (descriptor >= 0) {
                rescued = true;
                ::close(descriptor);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::atomic<bool> done{false};
    std::atomic<bool> rescued{false};
    std::thread thread;
};
