// Pixels from the engine's byte order (A, R, G, B in memory) to the 32-bit native
// words (A << 24 | R << 16 | G << 8 | B) that the desktop's image surfaces use.
#pragma once

#include <cstdint>

namespace platform {

void ArgbBytesToNativeWords(const uint8_t* src, int srcRowBytes, uint32_t* dst, int dstRowPixels, int width,
                            int height);

}  // namespace platform
