#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/popup_menu.h"

namespace {

std::vector<std::string> Texts(const IPopupMenu& m) {
    std::vector<std::string> texts;
    for (int i = 0; i < m.GetNItems(); ++i) texts.push_back(m.GetItemText(i));
    return texts;
}

std::vector<int> Flags(const IPopupMenu& m) {
    std::vector<int> flags;
    for (int i = 0; i < m.GetNItems(); ++i) flags.push_back(m.GetItem(i)->GetFlags());
    return flags;
}

void Fill(IPopupMenu& m, int n, int flags = 0) {
    for (int i = 0; i < n; ++i) m.AddItem(std::string(1, char('a' + i)).c_str(), -1, flags);
}

TEST(PopupMenu, InsertPositionsAreClamped) {
    struct Case { int index; std::vector<std::string> texts; } cases[] = {
        {0, {"x", "a", "b", "c"}},  {1, {"a", "x", "b", "c"}},  {99, {"a", "b", "c", "x"}},
        {-1, {"a", "b", "c", "x"}}, {-99, {"x", "a", "b", "c"}},
    };
    for (const auto& c : cases) {
        for (int form = 0; form < 3; ++form) {
            IPopupMenu m;
            Fill(m, 3);
            if (form == 0) m.AddItem(new IPopupMenuItem("x"), c.index);
            if (form == 1) m.AddItem("x", c.index, 5);
            if (form == 2) m.AddItem("x", c.index, static_cast<IPopupMenu*>(nullptr));
            EXPECT_EQ(Texts(m), c.texts) << "index " << c.index << " form " << form;
        }
    }
    IPopupMenu m;
    EXPECT_EQ(m.AddItem(static_cast<IPopupMenuItem*>(nullptr)), nullptr);
    m.AddItem(static_cast<const char*>(nullptr));
    EXPECT_EQ(Texts(m), std::vector<std::string>{""});
}

TEST(PopupMenu, CheckItemAlone) {
    struct Case { int index; std::vector<int> flags; } cases[] = {
        {1, {8, 12, 8, 8}}, {3, {8, 8, 8, 12}},
        {4, {8, 8, 8, 8}},  // outside the list: only clears
        {-1, {8, 8, 8, 8}},
    };
    for (const auto& c : cases) {
        IPopupMenu m;
        Fill(m, 4, IPopupMenuItem::kChecked | IPopupMenuItem::kSeparator);
        m.CheckItemAlone(c.index);
        EXPECT_EQ(Flags(m), c.flags) << c.index;
    }
    IPopupMenu empty;
    empty.CheckItemAlone(0);
    EXPECT_EQ(empty.GetNItems(), 0);
}

TEST(PopupMenu, StylesAndChecksOutsideTheListChangeNothing) {
    struct Case { int style, flag; } cases[] = {{1, 1}, {3, 4}, {4, 8}, {0, 0}, {5, 0}, {-1, 0}};
    for (const auto& c : cases) {
        IPopupMenu m;
        Fill(m, 2);
        m.SetItemStyle(1, c.style, true);
        EXPECT_EQ(Flags(m), (std::vector<int>{0, c.flag})) << c.style;
        m.SetItemStyle(1, c.style, false);
        EXPECT_EQ(Flags(m), (std::vector<int>{0, 0})) << c.style;
    }
    IPopupMenu m;
    Fill(m, 2, IPopupMenuItem::kDisabled);
    for (int index : {-1, 2, 99}) {
        m.SetItemStyle(index, 3, true);
        EXPECT_FALSE(m.CheckItem(index, true));
        EXPECT_FALSE(m.IsItemChecked(index));
    }
    EXPECT_EQ(Flags(m), (std::vector<int>{1, 1}));
}

}  // namespace
