#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

// Opens a named pipe from the other end when the test is not done within the time given, so that
// code blocked opening it gets going again and the test fails instead of hanging.
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

    // True when the pipe had to be opened.
    bool Stop()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        finished.notify_all();
        if (thread.joinable())
            thread.join();
        return rescued;
    }

private:
    void Watch(const QByteArray& name, std::chrono::milliseconds after)
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (finished.wait_for(lock, after, [this] { return done; }))
            return;
        rescued = true;
        // Read and write at once: never blocks, and a writer never meets a pipe without a reader.
        const int descriptor = ::open(name.constData(), O_RDWR);
        finished.wait(lock, [this] { return done; });
        if (descriptor >= 0)
            ::close(descriptor);
    }

    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool rescued = false;
    std::thread thread;
};
