#pragma once
#include <atomic>

// The voice thread reads these fields while the main thread writes them; a value one frame old
// does no harm, so relaxed ordering is all they need.
template <class T>
T loadRelaxed(const std::atomic<T> &field)
{
    return field.load(std::memory_order_relaxed);
}

template <class T, class V>
void storeRelaxed(std::atomic<T> &field, V value)
{
    field.store(static_cast<T>(value), std::memory_order_relaxed);
}
