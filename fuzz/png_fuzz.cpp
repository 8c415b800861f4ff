// PNG decoding from memory: the first byte picks where the pixels go, the rest is the file.
#include <memory>

#include "fuzz/fuzz_bodies.h"
#include "raster/png.h"

namespace qdfuzz {

const char* Png(const uint8_t* data, size_t size) {
    if (size == 0) return PIX_LoadPNGFromMemory(data, 0) ? "an empty input decoded" : nullptr;
    const uint8_t into = data[0] % 3;
    ++data;
    --size;
    std::unique_ptr<PIX_IBitmap> given;
    if (into == 1) given = std::make_unique<PIX_MemBitmap>(3, 5);
    if (into == 2) given = std::make_unique<PIX_SysBitmap>(7, 2);
    PIX_IBitmap* bm = PIX_LoadPNGFromMemory(data, size, given.get());
    if (!bm) return nullptr;
    std::unique_ptr<PIX_IBitmap> owned(bm == given.get() ? nullptr : bm);
    if (given && bm != given.get()) return "a loader given a bitmap returned another one";
    const int w = bm->getWidth(), h = bm->getHeight();
    if (w < 1 || h < 1 || w > kPixMaxPNGSide || h > kPixMaxPNGSide || !bm->getBits())
        return "a decoded image has an impossible size or no pixels";
    // Touch every pixel so that a short block shows up under the address checker.
    uint32_t sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sum += PIX_PixelAddress(*bm, x, y)[0];
    volatile uint32_t sink = sum;
    (void)sink;
    return nullptr;
}

}  // namespace qdfuzz
