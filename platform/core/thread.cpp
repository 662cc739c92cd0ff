#include "platform/thread.h"

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
