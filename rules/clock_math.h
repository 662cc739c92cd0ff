#pragma once
#include <cstdint>

// Millisecond times wrap at 2^32; these read two of them as a signed distance.

// Signed distance a - b of two wrapping millisecond times.
inline int32_t signedMs(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b); }

// |a - b| of two wrapping millisecond times, taken as a signed distance.
inline uint32_t msDistance(uint32_t a, uint32_t b)
{
    const int64_t d = signedMs(a, b);
    return static_cast<uint32_t>(d < 0 ? -d : d);
}
