// Every seed and every input that ever failed, run through its target's body: under
// the sanitizer build this repeats each past finding without a fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_bodies.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file()) files.push_back(e.path());
    return files;
}

TEST(FuzzReplay, SeedsAndPastFindingsPass) {
    for (const qdfuzz::FuzzTarget& t : qdfuzz::kFuzzTargets) {
        for (const char* kind : {"corpus", "regressions"}) {
            for (const fs::path& file : FilesIn(fs::path(QD_FUZZ_DIR) / kind / t.name)) {
                SCOPED_TRACE(file.string());
                std::ifstream in(file, std::ios::binary);
                const std::string bytes{std::istreambuf_iterator<char>(in), {}};
                const char* fault = t.body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
                EXPECT_EQ(fault, nullptr) << fault;
            }
        }
    }
}

// A target added without a body in the table would have its findings never replayed.
TEST(FuzzReplay, EveryCorpusFolderHasATargetWithSeeds) {
    std::set<std::string> names;
    for (const qdfuzz::FuzzTarget& t : qdfuzz::kFuzzTargets) {
        names.insert(t.name);
        EXPECT_FALSE(FilesIn(fs::path(QD_FUZZ_DIR) / "corpus" / t.name).empty()) << t.name;
    }
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path dir = fs::path(QD_FUZZ_DIR) / kind;
        if (!fs::is_directory(dir)) continue;
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_TRUE(names.count(e.path().filename().string())) << e.path();
    }
}

}  // namespace
