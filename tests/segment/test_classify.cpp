#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "segment/classify.h"
#include "segment/gray_graph.h"
#include "volume/CSulcanDoc.h"
#include "volume/phantom.h"
#include "worker/WorkerTask.h"

namespace sulcan {
namespace {

// ---- hand computation of one block: posteriors, diffusion by the explicit per-voxel sums of
// the 3 x 1 x 1 and 2 x 2 x 1 layouts, winner and margin

struct Voxel3 {
    double p[3];
};

double Gauss(double i, double mean, double sigma) {
    const double z = (i - mean) / sigma;
    return double(float(std::exp(-z * z / 2) / (sigma * std::sqrt(2 * std::numbers::pi))));
}

Voxel3 Posterior(int intensity, const ClassifyBlockParameters& p) {
    Voxel3 v{};
    double s = 0;
    for (int k = 0; k < 3; ++k) s += p.priors[k] * Gauss(intensity, p.means[k], p.deviations[k]);
    for (int k = 0; k < 3; ++k)
        v.p[k] = float(p.priors[k] * Gauss(intensity, p.means[k], p.deviations[k]) / s);
    return v;
}

// Flux into q from its lower neighbour p.
double Flux(double p, double q, bool slow) {
    const double t = std::fabs(p - q) / 0.5;
    return (p - q) * (slow ? std::exp(-t) : 1 - t + t * t / 2);
}

// Three voxels along one axis, lambda 0.5: the last voxel keeps its value.
void DiffuseLine3(std::vector<double>& P, bool slow) {
    const double f1 = Flux(P[0], P[1], slow), f2 = Flux(P[1], P[2], slow);
    P = {P[0] - 0.5 * f1, P[1] + 0.5 * (f1 - f2), P[2]};
}

// a b / c d on two axes, lambda 0.25: a loses to b and c, b to d, c to d, d keeps its value.
void DiffuseSquare(std::vector<double>& P, bool slow) {
    const double ab = Flux(P[0], P[1], slow), ac = Flux(P[0], P[2], slow);
    const double bd = Flux(P[1], P[3], slow), cd = Flux(P[2], P[3], slow);
    P = {P[0] - 0.25 * (ab + ac), P[1] - 0.25 * bd, P[2] - 0.25 * cd, P[3]};
}

struct HandCase {
    const char* name;
    int nx, ny, nz;
    std::vector<uint8_t> intensities;
    int iterations;
    bool slow;
};

void PrintTo(const HandCase& c, std::ostream* os) {
    *os << c.name;
}

class ClassifyBlockByHand : public ::testing::TestWithParam<HandCase> {};

TEST_P(ClassifyBlockByHand, WinnerAndMarginMatchTheHandValues) {
    const HandCase& c = GetParam();
    ClassifyBlockParameters p = BlockParametersFor(ClassificationParameters{}, c.slow);
    p.iterations = c.iterations;
    const size_t n = c.intensities.size();
    std::array<std::vector<double>, 3> P;
    for (size_t i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) P[k].push_back(Posterior(c.intensities[i], p).p[k]);
    for (auto& Pk : P)
        for (int it = 0; it < c.iterations && n > 1; ++it)
            n == 3 ? DiffuseLine3(Pk, c.slow) : DiffuseSquare(Pk, c.slow);
    for (size_t i = 0; i < n; ++i) {
        int w = 0;
        for (int k = 1; k < 3; ++k)
            if (P[k][i] > P[w][i]) w = k;
        double r = -1;
        for (int k = 0; k < 3; ++k)
            if (k != w) r = std::max(r, P[k][i]);
        const double margin = P[w][i] - r;
        const uint8_t expected = w == kClassWhite ? White : w == kClassCsf ? Csf : Unknown;
        for (double eps : {-1e-4, 1e-4}) {
            p.confidence = float(1 - margin + eps);
            std::vector<uint8_t> labels(n, 0xEE);
            ASSERT_EQ(ClassifyBlock(c.intensities.data(), c.nx, c.ny, c.nz, c.nx, c.nx * c.ny,
                                    labels.data(), p),
                      1);
            EXPECT_EQ(labels[i], eps > 0 ? expected : Unknown)
                << c.name << " voxel " << i << " margin " << margin;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, ClassifyBlockByHand,
    ::testing::Values(HandCase{"line", 3, 1, 1, {40, 47, 58}, 1, false},
                      HandCase{"lineSlow", 3, 1, 1, {40, 47, 58}, 1, true},
                      HandCase{"lineTwoSteps", 3, 1, 1, {33, 44, 61}, 2, false},
                      HandCase{"lineRaw", 3, 1, 1, {40, 47, 58}, 0, false},
                      HandCase{"square", 2, 2, 1, {38, 45, 52, 61}, 1, false},
                      HandCase{"squareSlow", 2, 2, 1, {38, 45, 52, 61}, 1, true},
                      HandCase{"squareOnXz", 2, 1, 2, {38, 45, 52, 61}, 1, false},
                      HandCase{"singleVoxel", 1, 1, 1, {45}, 10, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- edge cases of the labelling

uint8_t ClassifyOne(uint8_t intensity, ClassifyBlockParameters p) {
    uint8_t label = 0xEE;
    EXPECT_EQ(ClassifyBlock(&intensity, 1, 1, 1, 1, 1, &label, p), 1);
    return label;
}

TEST(ClassifyLabels, ThreeZeroLikelihoodsGiveUnknownEvenAtFullConfidence) {
    ClassificationParameters s;
    s.noiseStdev = 1;
    s.confidence = 1;
    EXPECT_EQ(ClassifyOne(255, BlockParametersFor(s, false)), Unknown);
}

TEST(ClassifyLabels, EqualGreatestPosteriorsGoToTheLowerClassOnlyAtFullConfidence) {
    ClassifyBlockParameters p;
    p.means = {40, 120, 40};
    p.deviations = {4, 4, 4};
    p.priors = {0.4f, 0.2f, 0.4f};
    p.confidence = 1;
    EXPECT_EQ(ClassifyOne(40, p), Csf);
    p.confidence = 0.99f;
    EXPECT_EQ(ClassifyOne(40, p), Unknown);
}

TEST(ClassifyLabels, GrayWinnersAndZeroConfidenceGiveUnknown) {
    ClassificationParameters s;
    s.confidence = 1;
    EXPECT_EQ(ClassifyOne(50, BlockParametersFor(s, false)), Unknown);  // gray wins
    EXPECT_EQ(ClassifyOne(62, BlockParametersFor(s, false)), White);
    EXPECT_EQ(ClassifyOne(30, BlockParametersFor(s, false)), Csf);
    s.confidence = 0;
    EXPECT_EQ(ClassifyOne(30, BlockParametersFor(s, false)), Unknown);  // not certain
}

TEST(ClassifyLabels, SmoothingChangesAnOutlierThatRawPosteriorsKeep) {
    // one CSF-bright voxel inside white matter on a 5 x 5 slice
    std::vector<uint8_t> anatomy(25, 61);
    anatomy[12] = 40;
    ClassificationParameters s;
    s.confidence = 1;
    s.smoothness = 0;
    std::vector<uint8_t> labels(25);
    ClassifyBlock(anatomy.data(), 5, 5, 1, 5, 25, labels.data(), BlockParametersFor(s, false));
    EXPECT_EQ(labels[12], Csf);
    s.smoothness = 10;
    ClassifyBlock(anatomy.data(), 5, 5, 1, 5, 25, labels.data(), BlockParametersFor(s, false));
    EXPECT_EQ(labels[12], White);
}

TEST(ClassifyLabels, CancelCheckRunsFourTimesAndAStoppedBlockWritesNothing) {
    std::vector<uint8_t> anatomy(8, 61), labels(8, 0xEE);
    for (int stopAt = 1; stopAt <= 5; ++stopAt) {
        int calls = 0;
        std::fill(labels.begin(), labels.end(), 0xEE);
        EXPECT_EQ(ClassifyBlock(anatomy.data(), 2, 2, 2, 2, 4, labels.data(),
                                BlockParametersFor({}, false), [&] { return ++calls < stopAt; }),
                  1);
        EXPECT_EQ(calls, std::min(stopAt, 4));
        EXPECT_EQ(labels[0], stopAt <= 4 ? 0xEE : White) << stopAt;
    }
}

// ---- block split

TEST(ClassifySplit, AxesSplitIntoBlocksOf32WithTheRemainderMergedOrSeparate) {
    struct Case {
        int32_t first, last;
        std::vector<std::pair<int32_t, int32_t>> blocks;
    };
    const Case cases[] = {
        {0, 39, {{0, 40}}},
        {0, 49, {{0, 32}, {32, 18}}},
        {3, 12, {{3, 10}}},
        {0, 14, {{0, 15}}},
        {0, 46, {{0, 47}}},
        {0, 47, {{0, 32}, {32, 16}}},
        {10, 73, {{10, 32}, {42, 32}}},
        {0, 100, {{0, 32}, {32, 32}, {64, 37}}},
        {7, 7, {{7, 1}}},
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int32_t, int32_t>> got;
        for (const AxisBlock& b : SplitAxis(c.first, c.last)) got.push_back({b.start, b.length});
        EXPECT_EQ(got, c.blocks) << c.first << ".." << c.last;
    }
}

TEST(ClassifySplit, VoiBlocksRunZThenYThenX) {
    const auto boxes = SplitVoi({0, 0, 5, 49, 39, 54});  // 2 x 1 x 2 blocks
    ASSERT_EQ(boxes.size(), 4u);
    const int32_t expect[4][3] = {{0, 0, 5}, {32, 0, 5}, {0, 0, 37}, {32, 0, 37}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes[i].x, expect[i][0]);
        EXPECT_EQ(boxes[i].z, expect[i][2]);
        EXPECT_EQ(boxes[i].ny, 40);
    }
    EXPECT_EQ(boxes[1].nx, 18);
    EXPECT_EQ(boxes[3].nz, 18);
}

// ---- the apply

class ClassifyApply : public ::testing::Test {
  public:
    void SetUp() override {
        PhantomOptions o;
        o.size = 64;
        phantom = MakePhantom(o);
        doc.StartNewProject(phantom.anatomy, phantom.dims);
    }
    std::vector<uint8_t> Apply(const VoiBox& voi, int threads, ClassificationParameters s = {}) {
        ClassificationApply apply;
        EXPECT_TRUE(apply.Prepare(doc, voi, s, false, threads));
        EXPECT_TRUE(apply.Run([] { return false; }));
        EXPECT_EQ(apply.Percent(), 99);
        return apply.result();
    }
    Phantom phantom;
    CSulcanDoc doc;
};

TEST_F(ClassifyApply, ParallelBlocksGiveTheSerialResultByteForByte) {
    const VoiBox voi{3, 5, 2, 60, 50, 63};
    const std::vector<uint8_t> serial = Apply(voi, 1);
    EXPECT_EQ(Apply(voi, 2), serial);
    EXPECT_EQ(Apply(voi, 5), serial);
}

TEST_F(ClassifyApply, NoDiffusionCrossesBlockBorders) {
    // the apply equals ClassifyBlock run on every block by itself
    const VoiBox voi{0, 0, 0, 63, 40, 20};
    std::vector<uint8_t> expected = doc.classification();
    const VolumeDims d = doc.dims();
    for (const ClassifyBlockBox& b : SplitVoi(voi)) {
        const size_t at = d.index(b.x, b.y, b.z);
        ClassifyBlock(doc.anatomy().data() + at, b.nx, b.ny, b.nz, d.x, d.x * d.y,
                      expected.data() + at, BlockParametersFor({}, false));
    }
    EXPECT_EQ(Apply(voi, 2), expected);
}

TEST_F(ClassifyApply, RecoversThePhantomWhiteMatter) {
    ClassificationParameters s;  // the phantom's means, default confidence and smoothness
    const std::vector<uint8_t> labels = Apply(VoiBox::Whole(doc.dims()), 0, s);
    double both = 0, classified = 0, truth = 0;
    for (size_t i = 0; i < labels.size(); ++i) {
        const bool a = labels[i] == White, b = phantom.labels[i] == White;
        both += a && b, classified += a, truth += b;
    }
    const double dice = 2 * both / (classified + truth);
    RecordProperty("whiteDice", std::to_string(dice));
    EXPECT_GT(dice, 0.85);
}

TEST_F(ClassifyApply, CommitOverwritesTheVoiReleasesGrayAndKeepsTheOutside) {
    std::fill(doc.classificationData().begin(), doc.classificationData().end(), Gray);
    doc.SetGrayGraph(std::make_shared<GrayGraph>(doc.classificationData(), doc.dims()));
    TopologySummary t;
    t.valid = 1;
    doc.settings().SetTopology(t);
    const VoiBox voi{10, 10, 10, 40, 40, 40};
    ClassificationApply apply;
    ASSERT_TRUE(apply.Prepare(doc, voi, {}, false, 2));
    ASSERT_TRUE(apply.Run([] { return false; }));
    EXPECT_TRUE(apply.Commit(doc));
    EXPECT_FALSE(doc.grayGraph());
    EXPECT_TRUE(doc.ClassificationChanged());
    EXPECT_EQ(doc.settings().topology().valid, 0);
    const VolumeDims& d = doc.dims();
    for (int32_t z = 0; z < d.z; ++z)
        for (int32_t y = 0; y < d.y; ++y)
            for (int32_t x = 0; x < d.x; ++x) {
                const bool inside = x >= 10 && x <= 40 && y >= 10 && y <= 40 && z >= 10 && z <= 40;
                const uint8_t label = doc.classification()[d.index(x, y, z)];
                if (inside)
                    ASSERT_TRUE(label == White || label == Csf || label == Unknown) << x << y << z;
                else
                    ASSERT_EQ(label, Gray);
            }
}

struct RecordingSink : WorkerSink {
    void Post(WorkerPost post) override { posts.push_back(std::move(post)); }
    std::vector<WorkerPost> posts;
};

TEST_F(ClassifyApply, CancelledTaskLeavesTheClassificationUnchanged) {
    const std::vector<uint8_t> before = doc.classification();
    for (int cancelAfter : {0, 3, 9}) {
        ClassificationApply apply;
        ASSERT_TRUE(apply.Prepare(doc, VoiBox::Whole(doc.dims()), {}, false, 2));
        std::atomic<int> polls{0};
        EXPECT_FALSE(apply.Run([&] { return ++polls > cancelAfter; }));
        EXPECT_LT(apply.Percent(), 99);
        EXPECT_FALSE(apply.Commit(doc));
    }
    WorkerTask task;
    ClassificationApply apply;
    ASSERT_TRUE(apply.Prepare(doc, VoiBox::Whole(doc.dims()), {}, false, 2));
    MakeClassifyTask(task, apply);
    RecordingSink sink;
    task.Attach(sink);
    task.cancelRequested = 1;
    EXPECT_EQ(task.RunEntry(), 0u);
    ASSERT_FALSE(sink.posts.empty());
    EXPECT_EQ(sink.posts.back().message, WM_WORKER_CANCELLED);
    EXPECT_EQ(doc.classification(), before);
}

TEST_F(ClassifyApply, TaskPostsProgressBelow100ThenFinishes) {
    WorkerTask task;
    ClassificationApply apply;
    ASSERT_TRUE(apply.Prepare(doc, VoiBox::Whole(doc.dims()), {}, true, 1));
    MakeClassifyTask(task, apply);
    EXPECT_EQ(task.title, "Applying classification");
    EXPECT_EQ(task.showLog, 0);
    RecordingSink sink;
    task.Attach(sink);
    EXPECT_EQ(task.RunEntry(), 1u);
    ASSERT_GE(sink.posts.size(), 2u);
    EXPECT_EQ(sink.posts.back().message, WM_WORKER_FINISHED);
    for (size_t i = 0; i + 1 < sink.posts.size(); ++i) {
        EXPECT_EQ(sink.posts[i].message, WM_WORKER_PROGRESS);
        EXPECT_LE(sink.posts[i].value, 99);
    }
    EXPECT_EQ(PercentCompleteText(42), "42% Complete");
    EXPECT_EQ(PercentCompleteText(100), "99% Complete");
}

TEST(ClassifyRegistry, ValuesAreWholeNumbersWithConfidenceTimes100) {
    ClassificationParameters s;
    EXPECT_EQ(RegistryValuesOf(s, {}),
              (ClassificationRegistryValues{35, 50, 60, 4, 70, 4, 0, 0, 1}));
    s.confidence = 0.29f;
    s.smoothness = 0;
    EXPECT_EQ(RegistryValuesOf(s, {true, true, false}),
              (ClassificationRegistryValues{35, 50, 60, 4, 29, 0, 1, 1, 0}));
}

}  // namespace
}  // namespace sulcan
