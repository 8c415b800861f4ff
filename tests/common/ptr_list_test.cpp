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

TEST(PtrList, DeleteOwnsOnlyWhenAskedAndDeleteAllGoesLastToFirst) {
    std::vector<int> log;
    CMN_PtrList<Tracked> list;
    for (int i = 0; i < 5; ++i) list.Add(new Tracked(i, &log));
    Tracked* kept = list.Get(1);
    EXPECT_TRUE(list.Delete(1));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(list.Delete(2, true));
    EXPECT_FALSE(list.Delete(3, true));
    EXPECT_EQ(log, std::vector<int>{3});
    delete kept;
    log.clear();
    list.DeleteAll(true);
    EXPECT_EQ(log, (std::vector<int>{4, 2, 0}));
    EXPECT_EQ(list.GetSize(), 0);
}

}  // namespace
