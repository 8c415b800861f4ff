#include "raster/sample_kernels.h"

namespace pix {

PairColumns::PairColumns(int64_t s, int64_t ds, int n, int width) : left(size_t(n)), fx(size_t(n)) {
    for (size_t i = 0; i < size_t(n); ++i, s += ds) {
        const int x = int(s >> 16);
        const bool inner = x < width - 1;
        left[i] = inner ? x : x - 1;
        fx[i] = inner ? uint32_t(s & 0xffff) : 65536u;
    }
}

}  // namespace pix
