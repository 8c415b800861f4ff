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

}  // namespace

TEST(PopupMenu, InsertPositionsAreClamped) {
    struct Case { int index; std::vector<std::string> texts; } cases[] = {
        {0, {"x", "a", "b", "c"}},  {1, {"a", "x", "b", "c"}},  {3, {"a", "b", "c", "x"}},
        {99, {"a", "b", "c", "x"}}, {-1, {"a", "b", "c", "x"}}, {-2, {"x", "a", "b", "c"}},
        {-99, {"x", "a", "b", "c"}},
    };
    for (const auto& c : cases) {
        for (int form = 0; form < 4; ++form) {
            IPopupMenu m;
            Fill(m, 3);
            IPopupMenuItem* added = nullptr;
            switch (form) {
                case 0: added = m.AddItem(new IPopupMenuItem("x"), c.index); break;
                case 1: added = m.AddItem("x", c.index, 5); break;
                case 2: added = m.AddItem("x", c.index, static_cast<IPopupMenu*>(nullptr)); break;
                case 3: added = m.AddSeparator(c.index); break;
            }
            ASSERT_NE(added, nullptr);
            if (form == 3) {
                EXPECT_STREQ(added->GetText(), "");
                EXPECT_EQ(added->GetFlags(), IPopupMenuItem::kSeparator);
                continue;
            }
            EXPECT_EQ(Texts(m), c.texts) << "index " << c.index << " form " << form;
            EXPECT_EQ(m.GetItem(m.GetNItems() - 1) == added, c.texts.back() == "x");
        }
    }
}

TEST(PopupMenu, ItemsCarryTheirFlagsAndSubmenus) {
    IPopupMenu sub;
    sub.AddItem("inner");
    IPopupMenu m;
    IPopupMenuItem* plain = m.AddItem("plain", -1, IPopupMenuItem::kDisabled | IPopupMenuItem::kChecked);
    IPopupMenuItem* withSub = m.AddItem("more", &sub);
    IPopupMenuItem* placed = m.AddItem("first", 0, &sub);
    EXPECT_TRUE(plain->GetChecked());
    EXPECT_FALSE(plain->GetEnabled());
    EXPECT_EQ(plain->GetSubmenu(), nullptr);
    EXPECT_EQ(withSub->GetSubmenu(), &sub);
    EXPECT_EQ(withSub->GetFlags(), 0);
    EXPECT_EQ(placed->GetSubmenu(), &sub);
    EXPECT_EQ(Texts(m), (std::vector<std::string>{"first", "plain", "more"}));
}

TEST(PopupMenu, NullTextAndNullItem) {
    IPopupMenu m;
    EXPECT_EQ(m.AddItem(static_cast<IPopupMenuItem*>(nullptr)), nullptr);
    EXPECT_EQ(m.GetNItems(), 0);
    m.AddItem(static_cast<const char*>(nullptr));
    EXPECT_STREQ(m.GetItemText(0), "");
}

TEST(PopupMenu, PrefixAcceptsOnlyKnownStyles) {
    struct Case { int style, after; } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 2}, {-1, 2}, {99, 2}};
    for (const auto& c : cases) {
        IPopupMenu m;
        m.SetPrefix(2);
        m.SetPrefix(c.style);
        EXPECT_EQ(m.GetPrefix(), c.after) << c.style;
    }
}

TEST(PopupMenu, StyleNumbersMapToFlags) {
    struct Case { int style, flag; } cases[] = {{1, 1}, {2, 2}, {3, 4}, {4, 8}, {0, 0}, {5, 0}, {8, 0}, {-1, 0}};
    for (const auto& c : cases) {
        IPopupMenu m;
        Fill(m, 2);
        m.SetItemStyle(1, c.style, true);
        EXPECT_EQ(Flags(m), (std::vector<int>{0, c.flag})) << c.style;
        m.SetItemStyle(1, c.style, false);
        EXPECT_EQ(Flags(m), (std::vector<int>{0, 0})) << c.style;

        IPopupMenuItem item("i", 15);
        item.SetStyle(false, c.style);
        EXPECT_EQ(item.GetFlags(), 15 & ~c.flag);
    }
}

TEST(PopupMenu, StyleOutsideTheListChangesNothing) {
    IPopupMenu m;
    Fill(m, 2);
    for (int index : {-1, 2, 99}) m.SetItemStyle(index, 3, true);
    EXPECT_EQ(Flags(m), (std::vector<int>{0, 0}));
}

TEST(PopupMenu, CheckItem) {
    IPopupMenu m;
    Fill(m, 3, IPopupMenuItem::kDisabled);
    EXPECT_TRUE(m.CheckItem(1, true));
    EXPECT_TRUE(m.IsItemChecked(1));
    EXPECT_EQ(Flags(m), (std::vector<int>{1, 5, 1}));
    EXPECT_TRUE(m.CheckItem(1, false));
    EXPECT_EQ(Flags(m), (std::vector<int>{1, 1, 1}));
    for (int index : {-1, 3, 1000}) {
        EXPECT_FALSE(m.CheckItem(index, true));
        EXPECT_FALSE(m.IsItemChecked(index));
    }
    EXPECT_EQ(Flags(m), (std::vector<int>{1, 1, 1}));
    m.GetItem(2)->SetChecked(true);
    EXPECT_TRUE(m.IsItemChecked(2));
}

TEST(PopupMenu, CheckItemAlone) {
    struct Case { int index; std::vector<int> flags; } cases[] = {
        {1, {8, 12, 8, 8}},
        {0, {12, 8, 8, 8}},
        {3, {8, 8, 8, 12}},
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

TEST(PopupMenu, DestroyingTheMenuLeavesSubmenusAlone) {
    auto* sub = new IPopupMenu;
    sub->AddItem("inner");
    {
        IPopupMenu m;
        m.AddItem("a", sub);
        m.AddItem("b", sub);
        m.SetChosenItemIdx(1);
        EXPECT_EQ(m.GetChosenItemIdx(), 1);
    }
    EXPECT_STREQ(sub->GetItemText(0), "inner");
    delete sub;
}

