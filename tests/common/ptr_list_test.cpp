#include <gtest/gtest.h>

#include <vector>

#include "common/ptr_list.h"

namespace {

struct Tracked {
    Tracked(int id, std::vector<int>* log) : id(id), log(log) {}
    ~Tracked() { log->push_back(id); }
    int id;
    std::vector<int>* log;
};

std::vector<int> Ids(const CMN_PtrList<int>& list) {
    std::vector<int> ids;
    for (int i = 0; i < list.GetSize(); ++i) ids.push_back(*list.Get(i));
    return ids;
}

}  // namespace

TEST(PtrList, InsertPositions) {
    static int v[6] = {0, 1, 2, 3, 4, 5};
    struct Case { int index; std::vector<int> after; } cases[] = {
        {0, {5, 0, 1, 2}},
        {1, {0, 5, 1, 2}},
        {3, {0, 1, 2, 5}},
        {99, {0, 1, 2, 5}},
        {-1, {0, 1, 2, 5}},
        {-7, {0, 1, 2, 5}},
    };
    for (const auto& c : cases) {
        CMN_PtrList<int> list;
        for (int i = 0; i < 3; ++i) list.Add(&v[i]);
        EXPECT_EQ(list.Insert(c.index, &v[5]), &v[5]);
        EXPECT_EQ(Ids(list), c.after) << c.index;
    }
}

TEST(PtrList, GetAndFindOutsideTheList) {
    static int v[2] = {10, 11};
    CMN_PtrList<int> list;
    EXPECT_EQ(list.Get(0), nullptr);
    list.Add(&v[0]);
    list.Add(&v[1]);
    EXPECT_EQ(list.Get(-1), nullptr);
    EXPECT_EQ(list.Get(2), nullptr);
    EXPECT_EQ(list.Find(&v[1]), 1);
    EXPECT_EQ(list.Find(nullptr), -1);
}

TEST(PtrList, DeleteAtIndex) {
    std::vector<int> log;
    CMN_PtrList<Tracked> list;
    for (int i = 0; i < 4; ++i) list.Add(new Tracked(i, &log));
    Tracked* kept = list.Get(1);
    EXPECT_TRUE(list.Delete(1));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(list.Delete(2, true));
    EXPECT_EQ(log, std::vector<int>{3});
    EXPECT_FALSE(list.Delete(2, true));
    EXPECT_FALSE(list.Delete(-1, true));
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.Get(0)->id, 0);
    EXPECT_EQ(list.Get(1)->id, 2);
    delete kept;
    list.DeleteAll(true);
}

TEST(PtrList, DeleteAllRemovesLastToFirst) {
    std::vector<int> log;
    CMN_PtrList<Tracked> list;
    for (int i = 0; i < 5; ++i) list.Add(new Tracked(i, &log));
    list.DeleteAll(true);
    EXPECT_EQ(log, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(list.GetSize(), 0);

    static int plain = 1;
    CMN_PtrList<int> borrowed;
    borrowed.Add(&plain);
    borrowed.DeleteAll();
    EXPECT_EQ(borrowed.GetSize(), 0);
}

