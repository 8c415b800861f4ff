// The list of skin images: one row per image name, with the folders that carry it, its
// frame count and one frame's size in GUI pixels (the file is twice that each way).
#pragma once

#include <string>
#include <vector>

namespace skingen {

struct ImageSpec {
    std::vector<std::string> dirs;  // "orig", "lcd", "manager"
    std::string name;               // the file is img/<dir>/<name>-2x.png
    int frames = 1;
    int guiWidth = 0;   // one frame
    int guiHeight = 0;
};

struct Manifest {
    std::vector<ImageSpec> images;
    std::string error;  // empty when every row was read
};

// Tab-separated rows (dir, name, orig id, lcd id, frames, depicts, width, height, ...);
// lines starting with '#' and blank lines are skipped. Any malformed row stops the
// read with a message naming its line.
Manifest ParseManifest(const std::string& text);
Manifest ReadManifest(const std::string& path);

// The image of that name in that folder, or null.
const ImageSpec* FindImage(const Manifest& manifest, const std::string& dir, const std::string& name);

// The relative file path of one image in one folder.
std::string ImagePath(const std::string& dir, const std::string& name);

}  // namespace skingen
