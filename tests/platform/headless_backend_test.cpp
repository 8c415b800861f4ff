// The headless back end is exercised by every engine test that runs on it; what it
// does for production code is carry work and cursor changes to the main thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/headless_backend.h"
#include "winapi/cursor.h"

using namespace platform;


TEST(HeadlessBackend, MainThreadWorkAndCursorsWaitForThePump) {
    HeadlessBackend b;
    std::atomic<bool> ran{false}, returned{false};
    std::thread t([&] {
        b.PerformOnMainThreadAndWait([&] { ran = b.IsMainThread(); });
        returned = true;
    });
    while (!returned) b.RunPendingMainThreadWork();
    t.join();
    EXPECT_TRUE(ran);
    bool direct = false;
    b.PerformOnMainThreadAndWait([&] { direct = true; });  // on the main thread: at once
    EXPECT_TRUE(direct);

    InstallBackend(&b);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZENS));
    std::thread other([] { WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZEWE)); });
    while (b.cursors.size() < 2) b.RunPendingMainThreadWork();
    other.join();
    InstallBackend(nullptr);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_ARROW));
    EXPECT_EQ(b.cursors, (std::vector<int>{IDC_SIZENS, IDC_SIZEWE}));
}
