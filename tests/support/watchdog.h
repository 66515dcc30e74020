#pragma once

#include <QByteArray>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace qm::test {

/// Fails a test instead of hanging it. A command that has not returned ten seconds after
/// this was made is taken to be waiting to open the FIFO at \a path: its read end is opened
/// and drained to let the command go on, and blocked() says so. One that still hangs after
/// two minutes ends the process.
class Watchdog
{
public:
    explicit Watchdog(const QByteArray &path)
        : m_thread([this, path] { watch(path); })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    bool blocked() const { return m_blocked; }

private:
    void watch(const QByteArray &path)
    {
        using namespace std::chrono_literals;
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, 10s, [this] { return m_done; }))
            return;
        m_blocked = true;
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        char buffer[65536];
        for (int waited = 0; !m_wake.wait_for(lock, 10ms, [this] { return m_done; }); ++waited) {
            while (fd >= 0 && ::read(fd, buffer, sizeof buffer) > 0) { }
            if (waited > 12000) {
                std::fputs("the output still blocks after two minutes\n", stderr);
                std::abort();
            }
        }
        if (fd >= 0)
            ::close(fd);
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_blocked = false;
    std::thread m_thread;
};

} // namespace qm::test
