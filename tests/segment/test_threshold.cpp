#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "segment/threshold.h"
#include "volume/CSulcanDoc.h"

namespace sulcan {
namespace {

struct CodeRecorder : DocumentObserver {
    void OnDocumentChanged(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

class Threshold : public ::testing::Test {
  public:
    void SetUp() override {
        doc.StartNewProject(std::vector<uint8_t>(10 * 10 * 10, 0), {10, 10, 10});
    }
    uint8_t& label(int32_t x, int32_t y, int32_t z) {
        return doc.classificationData()[doc.dims().index(x, y, z)];
    }
    int64_t Count(uint8_t value) const {
        return std::count(doc.classification().begin(), doc.classification().end(), value);
    }
    CSulcanDoc doc;
};

TEST_F(Threshold, Level255MakesEveryNonGrayVoxelOfTheVoiUnknown) {
    std::vector<uint8_t> anatomy(1000, 255);
    doc.InstallAnatomy(anatomy, {10, 10, 10});
    const uint8_t kinds[] = {White, SelectedWhite, Csf, Gray, SelectedGray, Unknown};
    for (size_t i = 0; i < doc.classification().size(); ++i)
        doc.classificationData()[i] = kinds[i % 6];
    const std::vector<uint8_t> before = doc.classification();
    const VoiBox voi{1, 1, 1, 8, 8, 8};
    ThresholdVoi(doc.classificationData(), doc.anatomy(), doc.dims(), voi, 255);
    for (int32_t z = 0; z < 10; ++z)
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 10; ++x) {
                const size_t i = doc.dims().index(x, y, z);
                const bool inside = x >= 1 && x <= 8 && y >= 1 && y <= 8 && z >= 1 && z <= 8;
                const bool gray = TissueOf(before[i]) == Gray;
                EXPECT_EQ(doc.classification()[i], inside && !gray ? Unknown : before[i]);
            }
}

TEST_F(Threshold, OnlyIntensitiesAboveTheLevelBecomeWhite) {
    std::vector<uint8_t> anatomy(1000, 100);
    anatomy[0] = 101;
    anatomy[1] = 99;
    doc.InstallAnatomy(anatomy, {10, 10, 10});
    std::fill(doc.classificationData().begin(), doc.classificationData().end(), Csf);
    ThresholdVoi(doc.classificationData(), doc.anatomy(), doc.dims(), VoiBox::Whole(doc.dims()),
                 100);
    EXPECT_EQ(doc.classification()[0], White);
    EXPECT_EQ(doc.classification()[1], Unknown);
    EXPECT_EQ(Count(White), 1);
    EXPECT_EQ(Count(Unknown), 999);
}

TEST_F(Threshold, BlurGrowsOneCubeCutAtTheVoi) {
    struct Case {
        int32_t x, y, z;
        VoiBox voi;
        int radius;
        int64_t added;
    };
    const Case cases[] = {
        {5, 5, 5, {0, 0, 0, 9, 9, 9}, 1, 26}, {5, 5, 5, {0, 0, 0, 9, 9, 9}, 2, 124},
        {5, 5, 5, {5, 0, 0, 9, 9, 9}, 1, 17},  // cut on one side by the VOI
        {0, 0, 0, {0, 0, 0, 9, 9, 9}, 1, 7},   // a corner of the volume
        {5, 5, 5, {0, 0, 0, 9, 9, 9}, 0, 0},  {9, 9, 9, {0, 0, 0, 9, 9, 9}, 20, 999},
    };
    for (const Case& c : cases) {
        std::fill(doc.classificationData().begin(), doc.classificationData().end(), Unknown);
        label(c.x, c.y, c.z) = SelectedWhite;
        EXPECT_EQ(BlurWhite(doc.classificationData(), doc.dims(), c.voi, c.radius), c.added)
            << c.x << " r" << c.radius;
        EXPECT_EQ(Count(White), c.added);
        for (int32_t z = 0; z < 10; ++z)
            for (int32_t y = 0; y < 10; ++y)
                for (int32_t x = 0; x < 10; ++x) {
                    const bool near = std::abs(x - c.x) <= c.radius &&
                                      std::abs(y - c.y) <= c.radius &&
                                      std::abs(z - c.z) <= c.radius;
                    const bool inVoi = x >= c.voi.xmin && x <= c.voi.xmax && y >= c.voi.ymin &&
                                       y <= c.voi.ymax && z >= c.voi.zmin && z <= c.voi.zmax;
                    if (x == c.x && y == c.y && z == c.z) continue;
                    ASSERT_EQ(label(x, y, z), near && inVoi ? White : Unknown) << x << y << z;
                }
    }
}

TEST_F(Threshold, BlurLeavesCsfAndGrayAndDoesNotGrowTwice) {
    std::fill(doc.classificationData().begin(), doc.classificationData().end(), Unknown);
    label(5, 5, 5) = White;
    label(6, 5, 5) = Csf;
    label(4, 5, 5) = Gray;
    label(5, 6, 5) = SelectedGray;
    EXPECT_EQ(BlurWhite(doc.classificationData(), doc.dims(), VoiBox::Whole(doc.dims()), 1), 23);
    EXPECT_EQ(label(6, 5, 5), Csf);
    EXPECT_EQ(label(4, 5, 5), Gray);
    EXPECT_EQ(label(5, 6, 5), SelectedGray);
    EXPECT_EQ(label(7, 5, 5), Unknown);  // beyond the CSF voxel: one pass only
}

TEST_F(Threshold, ApplySetsTheFlagsAndTellsChangeCodeZero) {
    std::vector<uint8_t> anatomy(1000, 0);
    anatomy[doc.dims().index(5, 5, 5)] = 200;
    doc.InstallAnatomy(anatomy, {10, 10, 10});
    TopologySummary t;
    t.valid = 1;
    doc.settings().SetTopology(t);
    CodeRecorder views;
    doc.AddObserver(&views);
    ThresholdModel model;
    ASSERT_TRUE(model.SetLevel(100));
    ASSERT_TRUE(model.SetRadius(1));
    model.SetDoBlur(true);
    EXPECT_EQ(model.Apply(doc), 1);
    EXPECT_EQ(Count(White), 27);
    EXPECT_TRUE(doc.ClassificationChanged());
    EXPECT_EQ(doc.settings().topology().valid, 0);
    EXPECT_EQ(views.codes, std::vector<int>{0});

    model.SetDoThreshold(false);
    ASSERT_TRUE(model.SetRadius(0));
    EXPECT_EQ(model.Apply(doc), 1);
    EXPECT_EQ(Count(White), 27);  // radius 0 and no threshold: nothing changes
    doc.RemoveObserver(&views);

    CSulcanDoc empty;
    EXPECT_EQ(ApplyThreshold(empty, {}, ThresholdOptions{}), 0);
}

TEST(ThresholdDialog, StoredValuesAreClampedAndEditsValidated) {
    ThresholdModel defaults;
    EXPECT_EQ(defaults.TakeOver(), (ThresholdRegistryValues{127, 0, 1, 0}));
    ThresholdModel model(ThresholdRegistryValues{256, 21, 0, 1});
    EXPECT_EQ(model.TakeOver(), (ThresholdRegistryValues{255, 20, 0, 1}));
    EXPECT_FALSE(model.SetLevel(256));
    EXPECT_FALSE(model.SetLevel(-1));
    EXPECT_FALSE(model.SetRadius(21));
    EXPECT_TRUE(model.SetLevel(0));
    EXPECT_TRUE(model.SetRadius(20));
    model.SetDoThreshold(true);
    model.SetDoBlur(false);
    EXPECT_EQ(model.TakeOver(), (ThresholdRegistryValues{0, 20, 1, 0}));
}

}  // namespace
}  // namespace sulcan
