// The libFuzzer entry of one target; the build names the body in QD_FUZZ_BODY.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_bodies.h"

// The font library keeps a few blocks of its configuration parse that nothing points
// at any more; they are made once, but any leak check would report them every time.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qdfuzz::PrepareSharedState();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (const char* fault = qdfuzz::QD_FUZZ_BODY(data, size)) {
        std::fprintf(stderr, "fuzz finding: %s\n", fault);
        std::abort();
    }
    return 0;
}
