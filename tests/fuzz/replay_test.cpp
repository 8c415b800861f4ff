// Every seed and every input that ever failed, run through its target's body: under
// the sanitizer build this repeats each past finding without a fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "fuzz/fuzz_bodies.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

TEST(FuzzReplay, SeedsAndPastFindingsPassAndEveryFolderHasATarget) {
    std::set<std::string> names;
    std::error_code missing;  // a folder that is not there holds nothing
    for (const qdfuzz::FuzzTarget& t : qdfuzz::kFuzzTargets) {
        names.insert(t.name);
        int seeds = 0;
        for (const char* kind : {"corpus", "regressions"}) {
            for (const auto& e : fs::directory_iterator(fs::path(QD_FUZZ_DIR) / kind / t.name, missing)) {
                if (!e.is_regular_file()) continue;
                seeds += kind[0] == 'c';
                const std::string bytes = testutil::ReadFile(e.path());
                const char* fault = t.body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
                EXPECT_EQ(fault, nullptr) << e.path() << ": " << fault;
            }
        }
        EXPECT_GT(seeds, 0) << t.name;
    }
    // A target missing from the table would have its findings never replayed.
    for (const char* kind : {"corpus", "regressions"})
        for (const auto& e : fs::directory_iterator(fs::path(QD_FUZZ_DIR) / kind, missing))
            EXPECT_TRUE(names.count(e.path().filename().string())) << e.path();
}
