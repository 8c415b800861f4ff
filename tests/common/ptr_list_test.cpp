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

TEST(PtrList, InsertPositionsAreClamped) {
    static int v[6] = {0, 1, 2, 3, 4, 5};
    struct Case { int index; std::vector<int> after; } cases[] = {
        {0, {5, 0, 1, 2}}, {1, {0, 5, 1, 2}}, {3, {0, 1, 2, 5}}, {99, {0, 1, 2, 5}}, {-7, {0, 1, 2, 5}},
    };
    for (const auto& c : cases) {
        CMN_PtrList<int> list;
        for (int i = 0; i < 3; ++i) list.Add(&v[i]);
        EXPECT_EQ(list.Insert(c.index, &v[5]), &v[5]);
        std::vector<int> ids;
        for (int i = 0; i < list.GetSize(); ++i) ids.push_back(*list.Get(i));
        EXPECT_EQ(ids, c.after) << c.index;
        EXPECT_EQ(list.Get(-1), nullptr);
        EXPECT_EQ(list.Get(4), nullptr);
        EXPECT_EQ(list.Find(nullptr), -1);
    }
}

TEST(PtrList, DeleteOwnsOnlyWhenAskedAndDeleteAllGoesLastToFirst) {
    std::vector<int> log;
    CMN_PtrList<Tracked> list;
    for (int i = 0; i < 5; ++i) list.Add(new Tracked(i, &log));
    Tracked* kept = list.Get(1);
    EXPECT_TRUE(list.Delete(1));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(list.Delete(2, true));
    EXPECT_FALSE(list.Delete(3, true));
    EXPECT_FALSE(list.Delete(-1, true));
    EXPECT_EQ(log, std::vector<int>{3});
    delete kept;
    log.clear();
    list.DeleteAll(true);
    EXPECT_EQ(log, (std::vector<int>{4, 2, 0}));
    EXPECT_EQ(list.GetSize(), 0);
}

}  // namespace
