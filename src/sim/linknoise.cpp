#include "sim/linknoise.h"

#include <algorithm>
#include <cstdint>

QByteArray LineNoise(const QByteArray& seed, int sourceBytes, int registerBaud, int clientBaud)
{
    const int64_t sampled = registerBaud > 0 ? int64_t(sourceBytes) * clientBaud / registerBaud : sourceBytes;
    const int size = int(std::clamp<int64_t>(sampled, 1, 4096));
    uint32_t state = 2166136261u;  // FNV-1a over the request: the same request, the same noise
    for (const char c : seed)
        state = (state ^ uint8_t(c)) * 16777619u;
    QByteArray noise(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        noise[i] = char(state >> 24);
    }
    // A read of the first n bytes is checked as a frame: bytes 0..n-3 summed against n-2, n-1. Where a
    // prefix would pass, change its last byte; that byte only enters the checks of longer prefixes,
    // which come later in the loop.
    uint16_t sum = uint8_t(noise[0]);
    for (int n = 4; n <= size; ++n) {
        sum = uint16_t(sum + uint8_t(noise[n - 3]));
        const uint16_t carried = uint16_t(uint8_t(noise[n - 2]) | (uint8_t(noise[n - 1]) << 8));
        if (carried == sum)
            noise[n - 1] = char(uint8_t(noise[n - 1]) ^ 0x5A);
    }
    return noise;
}
