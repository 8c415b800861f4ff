#include <gtest/gtest.h>

#include <vector>

#include "winapi/cursor.h"

TEST(Cursor, OnlyTheFourIdsLoadAndOnlyOursAreSet) {
    for (int id : {IDC_ARROW, IDC_SIZENWSE, IDC_SIZEWE, IDC_SIZENS}) EXPECT_EQ(WAPI_LoadCursor(id)->id, id);
    for (int id : {0, 32513}) EXPECT_EQ(WAPI_LoadCursor(id), nullptr) << id;

    std::vector<int> seen;
    SetCursorChangeHandler([&](int id) { seen.push_back(id); });
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZEWE));
    WAPI_SetCursor(nullptr);
    HCURSOR__ foreign{IDC_ARROW};
    WAPI_SetCursor(&foreign);  // not one of ours: ignored
    SetCursorChangeHandler(nullptr);
    WAPI_SetCursor(WAPI_LoadCursor(IDC_SIZENS));  // no handler: only remembered
    EXPECT_EQ(seen, (std::vector<int>{IDC_SIZEWE}));
    EXPECT_EQ(WAPI_GetCurrentCursor(), WAPI_LoadCursor(IDC_SIZENS));
}
