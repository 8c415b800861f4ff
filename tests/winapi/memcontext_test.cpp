#include <gtest/gtest.h>

#include <cstdint>

#include "winapi/gdi.h"

TEST(MemContext, ZeroFilledAlignedAndReleasedOnce) {
    HDC dc = WAPI_CreateMemContext(nullptr, 8, 3);
    ASSERT_NE(dc, nullptr);
    auto* px = static_cast<uint32_t*>(WAPI_GetCtxFrameBuffer(dc));
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(px) % 64, 0u);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(px[i], 0u);
    WAPI_DeleteGfxContext(dc);
    EXPECT_FALSE(WAPI_IsLiveContext(dc));
    EXPECT_EQ(WAPI_GetCtxFrameBuffer(dc), nullptr);
    WAPI_DeleteGfxContext(dc);  // second release: ignored
    for (int w : {0, -4, 65536}) EXPECT_EQ(WAPI_CreateMemContext(nullptr, w, w == 65536 ? w : 4), nullptr) << w;
}
