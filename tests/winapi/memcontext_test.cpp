#include <gtest/gtest.h>

#include <cstdint>

#include "winapi/gdi.h"

TEST(MemContext, ZeroFilledAndAligned) {
    HDC dc = WAPI_CreateMemContext(nullptr, 8, 3);
    ASSERT_NE(dc, nullptr);
    auto* px = static_cast<uint32_t*>(WAPI_GetCtxFrameBuffer(dc));
    ASSERT_NE(px, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(px) % 64, 0u);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(px[i], 0u);
    WAPI_DeleteGfxContext(dc);
}

TEST(MemContext, ReleasedContextIsIgnored) {
    HDC dc = WAPI_CreateMemContext(nullptr, 4, 4);
    ASSERT_TRUE(WAPI_IsLiveContext(dc));
    WAPI_DeleteGfxContext(dc);
    EXPECT_FALSE(WAPI_IsLiveContext(dc));
    EXPECT_EQ(WAPI_GetCtxFrameBuffer(dc), nullptr);
    WAPI_DeleteGfxContext(dc);  // second release: ignored
    WAPI_DeleteGfxContext(nullptr);
    EXPECT_EQ(WAPI_GetCtxFrameBuffer(nullptr), nullptr);
}

TEST(MemContext, RejectsBadSizes) {
    EXPECT_EQ(WAPI_CreateMemContext(nullptr, 0, 4), nullptr);
    EXPECT_EQ(WAPI_CreateMemContext(nullptr, -4, 4), nullptr);
    EXPECT_EQ(WAPI_CreateMemContext(nullptr, 65536, 65536), nullptr);
}
