// skingen: draws the skin images.
//   skingen MANIFEST OUT_ROOT              write every image under OUT_ROOT/img/
//   skingen MANIFEST --crc-table           print the pixel CRC table the tests keep
//   skingen MANIFEST --contact-sheet FILE  write one PNG of all images for review
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/skingen/generator.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "skingen: %s\n", message.c_str());
    return 1;
}

int PrintCrcTable(const skingen::Manifest& manifest) {
    std::printf("// Pixel CRC-32 of every generated skin image. Regenerate on purpose with\n"
                "// tools/skingen/update_crc_table.sh after a deliberate change to the artwork.\n");
    for (const auto& spec : manifest.images)
        for (const auto& dir : spec.dirs) {
            std::string error;
            const auto bm = skingen::DrawImage(manifest, dir, spec, &error);
            if (!bm) return Fail(error);
            std::printf("{\"%s\", \"%s\", 0x%08xu},\n", dir.c_str(), spec.name.c_str(), skingen::PixelCrc(*bm));
        }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Fail("usage: skingen MANIFEST (OUT_ROOT | --crc-table | --contact-sheet FILE)");
    const skingen::Manifest manifest = skingen::ReadManifest(argv[1]);
    if (!manifest.error.empty()) return Fail(manifest.error);
    if (std::strcmp(argv[2], "--crc-table") == 0) return PrintCrcTable(manifest);
    if (std::strcmp(argv[2], "--contact-sheet") == 0) {
        if (argc < 4) return Fail("--contact-sheet needs a file name");
        const std::string error = skingen::WriteContactSheet(manifest, argv[3]);
        return error.empty() ? 0 : Fail(error);
    }
    const auto start = std::chrono::steady_clock::now();
    int written = 0;
    const std::string error = skingen::GenerateAll(manifest, argv[2], &written);
    if (!error.empty()) return Fail(error);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("skingen: %d images in %.0f ms\n", written, ms);
    return 0;
}
