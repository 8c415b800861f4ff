#include "platform/image_convert.h"

#include <cstddef>

namespace platform {

void ArgbBytesToNativeWords(const uint8_t* src, int srcRowBytes, uint32_t* dst, int dstRowPixels, int width,
                            int height) {
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = src + std::ptrdiff_t(y) * srcRowBytes;
        uint32_t* d = dst + std::ptrdiff_t(y) * dstRowPixels;
        for (int x = 0; x < width; ++x, s += 4)
            d[x] = uint32_t(s[0]) << 24 | uint32_t(s[1]) << 16 | uint32_t(s[2]) << 8 | s[3];
    }
}

}  // namespace platform
