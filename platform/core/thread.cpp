#include "platform/thread.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <new>
#include <system_error>
#include <thread>

struct PlatformThread {
    std::thread thread;
};

PlatformThread *threadStart(void (*body)())
{
    PlatformThread *handle = new (std::nothrow) PlatformThread;
    if (handle == nullptr)
        return nullptr;
    try {
        handle->thread = std::thread(body);
    } catch (const std::system_error &) {
        delete handle;
        return nullptr;
    }
    return handle;
}

void threadJoin(PlatformThread *handle)
{
    if (handle == nullptr)
        return;
    if (handle->thread.joinable())
        handle->thread.join();
    delete handle;
}

// The kernel's futex sleeps on the flag itself: a give between the sleeper's look at the flag
// and its sleep makes the sleep return at once, so no call is lost. What the woken thread reads
// afterwards reaches it through the flag's release and acquire.
static void futex(std::atomic<int> &word, int operation, int value)
{
    static_assert(sizeof(std::atomic<int>) == sizeof(int), "the futex word is the atomic itself");
    syscall(SYS_futex, reinterpret_cast<int *>(&word), operation, value, nullptr, nullptr, 0);
}

void threadWakeGive(ThreadWake &wake)
{
    if (wake.given.exchange(1, std::memory_order_release) == 0)
        futex(wake.given, FUTEX_WAKE_PRIVATE, 1);
}

void threadWakeTake(ThreadWake &wake)
{
    while (wake.given.exchange(0, std::memory_order_acquire) == 0)
        futex(wake.given, FUTEX_WAIT_PRIVATE, 0);
}
