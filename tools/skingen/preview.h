// Pictures of whole pages composed from the generated images as the panel builders
// place them, with sample value texts: for reviewing the artwork, not used by the
// editor.
#pragma once

#include <memory>

#include "raster/bitmap.h"
#include "tools/skingen/manifest.h"
#include "tools/skingen/palette.h"

namespace skingen {

// The sound page in one look (kSpace, kSolid or kLcd), or the manager page
// (kManager), at GUI size; null when an image is missing from the manifest.
std::unique_ptr<PIX_MemBitmap> ComposePage(const Manifest& manifest, Look look);

}  // namespace skingen
