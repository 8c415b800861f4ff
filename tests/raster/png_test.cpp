#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>

#include "raster/png.h"
#include "raster_test_util.h"
#include "support/golden.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;
using Owned = std::unique_ptr<PIX_IBitmap>;

const fs::path kSuite = fs::path(QD_TEST_DATA_DIR) / "pngsuite";

Bytes ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& p, const Bytes& bytes) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// Each image loaded four ways: new (rows aligned), into a given bitmap, into a given
// bottom-up one, and from memory, against plain 8-bit RGBA references checked once
// against the suite's own text dumps.
TEST(LoadPNG, EverySuiteImageMatchesItsReference) {
    std::vector<fs::path> images;
    for (const auto& e : fs::directory_iterator(kSuite))
        if (e.path().extension() == ".png") images.push_back(e.path());
    ASSERT_GE(images.size(), 17u);
    for (const auto& png : images) {
        const Bytes bytes = ReadFile(png);
        Owned made(PIX_LoadPNG(png.c_str())), fromMemory(PIX_LoadPNGFromMemory(bytes.data(), bytes.size()));
        ASSERT_NE(dynamic_cast<PIX_MemBitmap*>(made.get()), nullptr) << png;
        EXPECT_EQ(made->getRowSpan(), (made->getWidth() + 3) & ~3) << png;
        PIX_MemBitmap given(3, 3, 4);
        FlippedMemBitmap flipped(3, 3, 4);
        EXPECT_EQ(PIX_LoadPNG(png.c_str(), &given), &given) << png;
        EXPECT_EQ(PIX_LoadPNG(png.c_str(), &flipped), &flipped) << png;
        for (PIX_IBitmap* bm : {made.get(), (PIX_IBitmap*)&given, (PIX_IBitmap*)&flipped, fromMemory.get()}) {
            ASSERT_NE(bm, nullptr) << png;
            EXPECT_TRUE(testutil::MatchesGolden(*bm, "pngsuite_" + png.stem().string()));
        }
    }
}

void AppendChunk(Bytes& out, const char* type, const Bytes& data) {
    const auto be32 = [&](uint32_t v) { for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s)); };
    be32(uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    be32(uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

// A well-formed file whose header claims the given size, followed by a tiny
// (and for big sizes insufficient) image stream.
Bytes PngWithHeader(uint32_t width, uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    AppendChunk(out, "IHDR", {uint8_t(width >> 24), uint8_t(width >> 16), uint8_t(width >> 8), uint8_t(width),
                              uint8_t(height >> 24), uint8_t(height >> 16), uint8_t(height >> 8), uint8_t(height), 8, 6,
                              0, 0, 0});
    unsigned char raw[5] = {0, 1, 2, 3, 4};  // one filter byte and one RGBA pixel
    unsigned char packed[64];
    uLongf packedSize = sizeof packed;
    compress(packed, &packedSize, raw, sizeof raw);
    AppendChunk(out, "IDAT", Bytes(packed, packed + packedSize));
    AppendChunk(out, "IEND", {});
    return out;
}

// Each damaged input gives null, and says why in words the user can act on; libpng
// prints nothing of its own.
TEST(LoadPNG, DamagedDataGivesNullAndSaysWhy) {
    const Bytes good = ReadFile(kSuite / "basn6a08.png");
    ASSERT_GT(good.size(), 100u);
    auto flipped = [&](size_t at) { auto b = good; b[at] ^= 0x40; return b; };
    auto cut = [&](size_t n) { return Bytes(good.begin(), good.begin() + long(n)); };
    const std::string ends = "the file ends before the image does", side = "more than 65536 a side";
    // What libpng finds wrong is told in its own words, after this prefix.
    const std::string damaged = "damaged PNG data: ";
    // why: from a file; from memory where it differs ("" when the same).
    const struct { const char* name; Bytes bytes; std::string why, fromMemory; } cases[] = {
        {"7 bytes", cut(7), ends, "not PNG data"},
        {"foreign signature", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, damaged, "not PNG data"},
        {"signature only", cut(8), ends, ""},
        {"cut inside IHDR", cut(20), ends, ""},
        {"cut after IHDR", cut(33), ends, ""},
        {"cut inside the image data", cut(good.size() / 2), ends, ""},
        {"cut inside the last IDAT CRC", cut(good.size() - 14), ends, ""},
        {"bad signature", flipped(1), damaged, "not PNG data"},
        {"bad IHDR CRC", flipped(30), damaged, ""},
        {"bad image data CRC", flipped(good.size() / 2), damaged, ""},
        {"huge header over the side limit", PngWithHeader(1u << 20, 1u << 20),
         "the image is 1048576 x 1048576 pixels, " + side, ""},
        {"header over the side limit in one way", PngWithHeader(70000, 1), "the image is 70000 x 1 pixels, " + side,
         ""},
        {"huge header within the side limit", PngWithHeader(60000, 60000),
         "the image is 60000 x 60000 pixels, more than 1024 MiB", ""},
        {"header width over 31 bits", PngWithHeader(0x80000001u, 1), damaged, ""},
        {"zero width", PngWithHeader(0, 10), damaged, ""},
        {"header larger than the data", PngWithHeader(4, 4), damaged, ""},
    };
    auto says = [&](const std::string& why, const std::string& expected) {
        return expected == damaged ? why.rfind(damaged, 0) == 0 && why.size() > damaged.size() : why == expected;
    };
    const fs::path tmp = fs::temp_directory_path() / ("qd_png_test_" + std::to_string(getpid()) + ".png");
    testing::internal::CaptureStderr();
    for (const auto& c : cases) {
        std::string why, whyFromMemory, whyGiven;
        EXPECT_EQ(Owned(PIX_LoadPNGFromMemory(c.bytes.data(), c.bytes.size(), nullptr, &whyFromMemory)).get(), nullptr)
            << c.name;
        WriteFile(tmp, c.bytes);
        EXPECT_EQ(Owned(PIX_LoadPNG(tmp.c_str(), nullptr, &why)).get(), nullptr) << c.name;
        PIX_MemBitmap given(5, 6, 4);
        EXPECT_EQ(PIX_LoadPNG(tmp.c_str(), &given, &whyGiven), nullptr) << c.name;
        EXPECT_EQ(PIX_LoadPNGFromMemory(c.bytes.data(), c.bytes.size(), &given), nullptr) << c.name;
        const std::string memory = c.fromMemory.empty() ? c.why : c.fromMemory;
        EXPECT_TRUE(says(why, c.why) && says(whyGiven, c.why) &&
                    says(whyFromMemory, memory == ends ? "the data ends before the image does" : memory))
            << c.name << ": " << why << " | " << whyGiven << " | " << whyFromMemory;
        // Input refused before its header leaves the given bitmap alone.
        if (&c < cases + 2) { EXPECT_EQ(given.getWidth() * 10 + given.getHeight(), 56) << c.name; }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    fs::remove(tmp);
    std::string why;
    EXPECT_EQ(PIX_LoadPNG(tmp.c_str(), nullptr, &why), nullptr);  // missing file
    EXPECT_EQ(why, "the file cannot be opened: No such file or directory");
    // The generator itself makes a loadable file when the data suffices.
    const Bytes one = PngWithHeader(1, 1);
    Owned bm(PIX_LoadPNGFromMemory(one.data(), one.size()));
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(*PIX_PixelAddress(*bm, 0, 0), PIX_MakePixel(4, 1, 2, 3));
}

// The loader record: registered once however often asked, checking the extension when
// told to, and looking in Resources beside the executable for bundled images.
TEST(PNGLoader, ExtensionCheckSingleRegistrationAndBundle) {
    const fs::path dir = fs::temp_directory_path() / ("qd_png_loader_" + std::to_string(getpid()));
    fs::create_directories(dir / "folder.png");
    const struct { const char* name; bool check, loads; } cases[] = {
        {"IMAGE.PNG", true, true},        {"two.dots.png", true, true},   {"image.png.bak", true, false},
        {"folder.png/file", true, false}, {"noextension", true, false},   {"noextension", false, true},
        {"image.png.bak", false, true},   {"mixed.pNg", true, true},
    };
    for (const auto& c : cases) {
        WriteFile(dir / c.name, ReadFile(kSuite / "basn0g08.png"));
        EXPECT_EQ(Owned(PIX_PNGLoaderLoad((dir / c.name).c_str(), c.check, nullptr)) != nullptr, c.loads) << c.name;
    }
    fs::remove_all(dir);

    PIX_RegisterPNGLoader();  // a second registration must not link the record twice
    int found = 0;
    for (PIX_ImageLoader* l = PIX_ImageLoaders; l; l = l->next)
        found += l->load == PIX_PNGLoaderLoad && l->types == PIX_PNGLoaderTypes;
    EXPECT_EQ(found, 1);

    const fs::path resources = fs::read_symlink("/proc/self/exe").parent_path() / "Resources";
    fs::create_directories(resources);
    const std::string name = "qd_bundle_probe_" + std::to_string(getpid()) + ".png";
    fs::copy_file(kSuite / "basn2c08.png", resources / name, fs::copy_options::overwrite_existing);
    Owned bm(PIX_LoadPNGFromBundle(name.c_str()));
    fs::remove(resources / name);
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(bm->getWidth(), 32);
    EXPECT_EQ(PIX_LoadPNGFromBundle(std::string(401, 'a').c_str()), nullptr);
    EXPECT_EQ(PIX_LoadPNGFromBundle("missing-image.png"), nullptr);
}

}  // namespace
