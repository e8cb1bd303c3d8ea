#pragma once

#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

// After `after`, keeps opening a named pipe for writing and closing it again until it goes: code
// blocked opening or reading the pipe then meets its end and returns, so the test fails instead of
// hanging. Stop() says whether a reader was found blocked.
class FifoUnblock
{
public:
    FifoUnblock(const QString& path, std::chrono::milliseconds after)
        : thread([this, name = QFile::encodeName(path), after] { Watch(name, after); })
    {
    }
    ~FifoUnblock() { Stop(); }
    FifoUnblock(const FifoUnblock&) = delete;
    FifoUnblock& operator=(const FifoUnblock&) = delete;

    bool Stop()
    {
        done = true;
        if (thread.joinable())
            thread.join();
        return unblocked;
    }

private:
    void Watch(const QByteArray& name, std::chrono::milliseconds after)
    {
        const auto deadline = std::chrono::steady_clock::now() + after;
        while (!done && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!done) {
            // Without a reader this open fails at once (ENXIO) rather than blocking.
            const int descriptor = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (descriptor >= 0) {
                unblocked = true;
                ::close(descriptor);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::atomic<bool> done{false};
    std::atomic<bool> unblocked{false};
    std::thread thread;
};
