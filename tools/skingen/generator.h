// Draws the manifest's images and writes them as the editor loads them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "tools/skingen/manifest.h"
#include "tools/skingen/painter.h"

namespace skingen {

// The whole strip of one image of the manifest for one folder (frames stacked
// vertically), or null when no drawing is known for the name (with the reason in
// *error). Every text it draws is added to `texts` when given.
std::unique_ptr<PIX_MemBitmap> DrawImage(const Manifest& manifest, const std::string& dir, const ImageSpec& spec,
                                         std::string* error, std::vector<DrawnText>* texts = nullptr);

// Writes every image of the manifest under root (root/img/<dir>/<name>-2x.png),
// making the folders. Returns an empty string, or the first failure.
std::string GenerateAll(const Manifest& manifest, const std::string& root, int* written);

// CRC-32 of the pixels, row by row, bytes as they lie in memory (A, R, G, B).
uint32_t PixelCrc(const PIX_IBitmap& bitmap);

// One PNG of every image at GUI size (backgrounds halved again), for review.
std::string WriteContactSheet(const Manifest& manifest, const std::string& path);

}  // namespace skingen
