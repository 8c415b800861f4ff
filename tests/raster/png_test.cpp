#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "raster_test_util.h"
#include "raster/png.h"
#include "support/golden.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSuite = fs::path(QD_TEST_DATA_DIR) / "pngsuite";

std::vector<unsigned char> readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, const std::vector<unsigned char>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<fs::path> suiteImages() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(kSuite))
        if (e.path().extension() == ".png") out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

// Each image loaded four ways: new (rows aligned), into a given bitmap, into a given
// bottom-up one, and from memory, against plain 8-bit RGBA references checked once
// against the suite's own text dumps.
TEST(LoadPNG, EverySuiteImageMatchesItsReference) {
    const auto images = suiteImages();
    ASSERT_GE(images.size(), 17u);
    for (const auto& png : images) {
        const auto bytes = readFile(png);
        std::unique_ptr<PIX_IBitmap> made(PIX_LoadPNG(png.c_str()));
        ASSERT_NE(dynamic_cast<PIX_MemBitmap*>(made.get()), nullptr) << png;
        EXPECT_EQ(made->getRowSpan(), (made->getWidth() + 3) & ~3) << png;
        std::unique_ptr<PIX_IBitmap> fromMemory(PIX_LoadPNGFromMemory(bytes.data(), bytes.size()));
        PIX_MemBitmap given(3, 3, 4);
        FlippedMemBitmap flipped(3, 3, 4);
        EXPECT_EQ(PIX_LoadPNG(png.c_str(), &given), &given) << png;
        EXPECT_EQ(PIX_LoadPNG(png.c_str(), &flipped), &flipped) << png;
        for (PIX_IBitmap* bm : {made.get(), static_cast<PIX_IBitmap*>(&given), static_cast<PIX_IBitmap*>(&flipped),
                                fromMemory.get()}) {
            ASSERT_NE(bm, nullptr) << png;
            EXPECT_TRUE(testutil::MatchesGolden(*bm, "pngsuite_" + png.stem().string()));
        }
    }
}

namespace {

void putBE32(std::vector<unsigned char>& out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void appendChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    putBE32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBE32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

// A well-formed file whose header claims the given size, followed by a tiny
// (and for big sizes insufficient) image stream.
std::vector<unsigned char> pngWithHeader(uint32_t width, uint32_t height) {
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> ihdr;
    putBE32(ihdr, width);
    putBE32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
    appendChunk(out, "IHDR", ihdr);
    unsigned char raw[5] = {0, 1, 2, 3, 4};  // one filter byte and one RGBA pixel
    unsigned char packed[64];
    uLongf packedSize = sizeof packed;
    compress(packed, &packedSize, raw, sizeof raw);
    appendChunk(out, "IDAT", std::vector<unsigned char>(packed, packed + packedSize));
    appendChunk(out, "IEND", {});
    return out;
}

}  // namespace

TEST(LoadPNG, DamagedDataGivesNull) {
    const auto good = readFile(kSuite / "basn6a08.png");
    ASSERT_GT(good.size(), 100u);
    auto flipped = [&](size_t at) { auto b = good; b[at] ^= 0x40; return b; };
    auto cut = [&](size_t n) { return std::vector<unsigned char>(good.begin(), good.begin() + long(n)); };
    const struct { const char* name; std::vector<unsigned char> bytes; } cases[] = {
        {"7 bytes", cut(7)},
        {"foreign signature", {'G', 'I', 'F', '8', '9', 'a', 0, 0}},
        {"signature only", cut(8)},
        {"cut inside IHDR", cut(20)},
        {"cut after IHDR", cut(33)},
        {"cut inside the image data", cut(good.size() / 2)},
        {"cut inside the last IDAT CRC", cut(good.size() - 14)},
        {"bad signature", flipped(1)},
        {"bad IHDR CRC", flipped(30)},
        {"bad image data CRC", flipped(good.size() / 2)},
        {"huge header over the side limit", pngWithHeader(1u << 20, 1u << 20)},
        {"huge header within the side limit", pngWithHeader(60000, 60000)},
        {"header width over 31 bits", pngWithHeader(0x80000001u, 1)},
        {"zero width", pngWithHeader(0, 10)},
        {"header larger than the data", pngWithHeader(4, 4)},
    };
    const fs::path tmp = fs::temp_directory_path() / ("qd_png_test_" + std::to_string(getpid()) + ".png");
    for (const auto& c : cases) {
        using Owned = std::unique_ptr<PIX_IBitmap>;
        EXPECT_EQ(Owned(PIX_LoadPNGFromMemory(c.bytes.data(), c.bytes.size())).get(), nullptr) << c.name;
        writeFile(tmp, c.bytes);
        EXPECT_EQ(Owned(PIX_LoadPNG(tmp.c_str())).get(), nullptr) << c.name;
        PIX_MemBitmap given(5, 6, 4);
        EXPECT_EQ(PIX_LoadPNG(tmp.c_str(), &given), nullptr) << c.name;
        EXPECT_EQ(PIX_LoadPNGFromMemory(c.bytes.data(), c.bytes.size(), &given), nullptr) << c.name;
        // Input refused before its header leaves the given bitmap alone.
        if (&c < cases + 2) { EXPECT_EQ(given.getWidth() * 10 + given.getHeight(), 56) << c.name; }
    }
    fs::remove(tmp);
    EXPECT_EQ(PIX_LoadPNG(tmp.c_str()), nullptr);  // missing file
    // The generator itself makes a loadable file when the data suffices.
    std::unique_ptr<PIX_IBitmap> one(PIX_LoadPNGFromMemory(pngWithHeader(1, 1).data(), pngWithHeader(1, 1).size()));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(*PIX_PixelAddress(*one, 0, 0), PIX_MakePixel(4, 1, 2, 3));
}

TEST(PNGLoader, ExtensionCheck) {
    const fs::path dir = fs::temp_directory_path() / ("qd_png_loader_" + std::to_string(getpid()));
    fs::create_directories(dir / "folder.png");
    const auto bytes = readFile(kSuite / "basn0g08.png");
    const struct { const char* name; bool check, loads; } cases[] = {
        {"IMAGE.PNG", true, true},   {"two.dots.png", true, true},   {"image.png.bak", true, false},
        {"folder.png/file", true, false}, {"noextension", true, false}, {"noextension", false, true},
        {"image.png.bak", false, true}, {"mixed.pNg", true, true},
    };
    for (const auto& c : cases) writeFile(dir / c.name, bytes);
    for (const auto& c : cases) {
        std::unique_ptr<PIX_IBitmap> bm(PIX_PNGLoaderLoad((dir / c.name).c_str(), c.check, nullptr));
        EXPECT_EQ(bm != nullptr, c.loads) << c.name << " check " << c.check;
    }
    fs::remove_all(dir);
}

TEST(PNGLoader, RegistersOnce) {
    PIX_RegisterPNGLoader();  // a second registration must not link the record twice
    int found = 0;
    for (PIX_ImageLoader* l = PIX_ImageLoaders; l; l = l->next)
        if (l->load == PIX_PNGLoaderLoad && l->types == PIX_PNGLoaderTypes) ++found;
    EXPECT_EQ(found, 1);
}

TEST(LoadPNGFromBundle, LooksInResourcesBesideTheExecutable) {
    const fs::path resources = fs::read_symlink("/proc/self/exe").parent_path() / "Resources";
    fs::create_directories(resources);
    const std::string name = "qd_bundle_probe_" + std::to_string(getpid()) + ".png";
    fs::copy_file(kSuite / "basn2c08.png", resources / name, fs::copy_options::overwrite_existing);
    std::unique_ptr<PIX_IBitmap> bm(PIX_LoadPNGFromBundle(name.c_str()));
    fs::remove(resources / name);
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(bm->getWidth(), 32);
    EXPECT_EQ(PIX_LoadPNGFromBundle(std::string(401, 'a').c_str()), nullptr);
    EXPECT_EQ(PIX_LoadPNGFromBundle("missing-image.png"), nullptr);
}
