#include <cstdio>

#include "raster/bitmap.h"

int main() {
    // The editor's window and screens are not built yet; this proves the libraries link.
    PIX_MemBitmap probe(16, 16, 4);
    std::printf("QD editor: raster library ready (%dx%d test bitmap). The editor window is not built yet.\n",
                probe.getWidth(), probe.getHeight());
    return 0;
}
