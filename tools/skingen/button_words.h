// The word on each button and tab image, from its image name.
#pragma once

#include <string>

namespace skingen {

// The word drawn on the image, empty for images that carry none.
std::string ButtonWord(const std::string& imageName);

}  // namespace skingen
