#pragma once
// Runs file work that must never wait on a named pipe. When it is still running after the time
// limit, every given pipe is opened from both ends until the work returns, so that a stuck
// open() or read() ends and the test fails instead of hanging the run.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <vector>

inline bool finishesWithoutWaiting(const std::function<void()> &work, const std::vector<std::string> &pipes,
                                   std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    // A writer released that way may find the reader gone: EPIPE, not the end of the test program.
    signal(SIGPIPE, SIG_IGN);
    std::future<void> done = std::async(std::launch::async, work);
    if (done.wait_for(limit) == std::future_status::ready) {
        done.get();
        return true;
    }
    while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        for (const std::string &pipe : pipes) {
            // Read-write opens of a pipe never wait, and count as the writer and the reader the
            // stuck side waits for.
            const int fd = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0) {
                usleep(1000);
                close(fd);
            }
        }
    }
    done.get();
    return false;
}
