// Every image of the project's manifest, drawn once for all the tests of a run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "tools/skingen/generator.h"
#include "tools/skingen/manifest.h"

struct DrawnImage {
    std::string dir;
    const skingen::ImageSpec* spec;
    std::unique_ptr<PIX_MemBitmap> bitmap;  // null when the drawing failed
    std::string error;
    std::vector<skingen::DrawnText> texts;  // every text drawn, frame by frame
};

inline const skingen::Manifest& ProjectManifest() {
    static const skingen::Manifest m = skingen::ReadManifest(QD_SKIN_MANIFEST);
    return m;
}

inline const std::vector<DrawnImage>& DrawnImages() {
    static const std::vector<DrawnImage> images = [] {
        std::vector<DrawnImage> v;
        for (const auto& spec : ProjectManifest().images)
            for (const auto& dir : spec.dirs) {
                DrawnImage d{dir, &spec, nullptr, {}, {}};
                d.bitmap = skingen::DrawImage(ProjectManifest(), dir, spec, &d.error, &d.texts);
                v.push_back(std::move(d));
            }
        return v;
    }();
    return images;
}

inline const DrawnImage* FindDrawn(const std::string& dir, const std::string& name) {
    for (const auto& d : DrawnImages())
        if (d.dir == dir && d.spec->name == name) return &d;
    return nullptr;
}
