#include "engine/random.h"

#include <gtest/gtest.h>

TEST(Random, FollowsTheFifteenBitGeneratorRule) {
    // state' = state * 214013 + 2531011 (mod 2^32), draw = (state' >> 16) & 0x7FFF
    SeedRandom(0);
    EXPECT_EQ(DrawRandom(), 38);
    EXPECT_EQ(DrawRandom(), 7719);
    EXPECT_EQ(DrawRandom(), 21238);
    SeedRandom(1);
    EXPECT_EQ(DrawRandom(), 41);
    EXPECT_EQ(DrawRandom(), 18467);
}

TEST(Random, SameSeedSameSequenceAndAlwaysFifteenBits) {
    SeedRandom(123456789u);
    int first[100];
    for (int &v : first) {
        v = DrawRandom();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
    SeedRandom(123456789u);
    for (int v : first) {
        EXPECT_EQ(DrawRandom(), v);
    }
}
