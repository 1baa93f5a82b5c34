#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/topology_count.h"
#include "volume/phantom.h"

namespace sulcan {
namespace {

bool IsWhite(uint8_t v) { return TissueOf(v) == White; }

TEST(Phantom, TopologyFollowsTheOptions) {
    struct Case {
        int handles;
        bool cavity, satellite;
        int components, cavities;
    };
    const Case cases[] = {
        {0, false, false, 1, 0},
        {1, false, true, 2, 0},
        {3, true, false, 1, 1},
    };
    for (const Case& c : cases) {
        PhantomOptions o;
        o.size = 64;
        o.handles = c.handles;
        o.cavity = c.cavity;
        o.satellite = c.satellite;
        Phantom p = MakePhantom(o);
        auto t = testing::CountTopology(p.labels, p.dims, IsWhite);
        EXPECT_EQ(t.components, c.components) << c.handles;
        EXPECT_EQ(t.cavities, c.cavities) << c.handles;
        EXPECT_EQ(t.handles(), c.handles);
    }
}

TEST(Phantom, IsDeterministicAndHasTheTissueIntensities) {
    PhantomOptions o;
    o.size = 48;
    o.seed = 7;
    Phantom a = MakePhantom(o), b = MakePhantom(o);
    EXPECT_EQ(a.anatomy, b.anatomy);
    o.seed = 8;
    EXPECT_NE(MakePhantom(o).anatomy, a.anatomy);

    double sum[4] = {}, count[4] = {};
    for (size_t i = 0; i < a.labels.size(); ++i) {
        int t = TissueOf(a.labels[i]) >> 4;  // 0 background, 1 white, 2 gray, 3 CSF
        sum[t] += a.anatomy[i];
        count[t] += 1;
    }
    for (int t = 0; t < 4; ++t) ASSERT_GT(count[t], 100) << "tissue " << t;
    EXPECT_NEAR(sum[1] / count[1], 60, 0.5);
    EXPECT_NEAR(sum[2] / count[2], 50, 0.5);
    EXPECT_NEAR(sum[3] / count[3], 35, 0.5);
    EXPECT_LT(sum[0] / count[0], 6);
}

TEST(Phantom, RejectsOptionsItCannotBuild) {
    PhantomOptions o;
    EXPECT_EQ(CheckPhantomOptions(o), "");
    o.size = 16;
    EXPECT_NE(CheckPhantomOptions(o), "");
    o.size = 128;
    o.handles = 9;
    EXPECT_NE(CheckPhantomOptions(o), "");
}

}  // namespace
}  // namespace sulcan
