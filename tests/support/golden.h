// Reference images: a bitmap compared pixel by pixel with tests/data/golden/NAME.png. On
// a mismatch the actual image and a diff (differing pixels red, the rest a faded copy of
// the reference) go to golden-out/ in the build folder, named in the failure message.
// QD_UPDATE_GOLDEN=1 in the environment rewrites the reference, for changes made on purpose.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "raster/bitmap.h"

namespace testutil {

::testing::AssertionResult MatchesGolden(const PIX_IBitmap& bitmap, const std::string& name);

}  // namespace testutil
