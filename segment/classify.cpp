#include "segment/classify.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <new>
#include <numbers>
#include <system_error>
#include <thread>

#include "platform/format.h"
#include "segment/messages.h"
#include "volume/CSulcanDoc.h"
#include "worker/WorkerTask.h"

namespace sulcan {

ClassifyBlockParameters BlockParametersFor(const ClassificationParameters& s, bool classifySlow) {
    ClassifyBlockParameters p;
    p.means = {s.csfMean, s.grayMean, s.whiteMean};
    p.deviations = {s.noiseStdev, s.noiseStdev, s.noiseStdev};
    p.confidence = s.confidence;
    p.iterations = s.smoothness;
    p.approximate = !classifySlow;
    return p;
}

bool ClassifyWorkspace::Reserve(size_t voxels) {
    try {
        for (auto* group : {&probability, &flux})
            for (std::vector<float>& v : *group) v.resize(voxels);
        return true;
    } catch (const std::bad_alloc&) {
        for (auto* group : {&probability, &flux})
            for (std::vector<float>& v : *group) std::vector<float>().swap(v);
        return false;
    }
}

namespace {

struct Extent {
    size_t nx, ny, nz;
    size_t plane() const { return nx * ny; }
    size_t voxels() const { return nx * ny * nz; }
    int nontrivial() const { return (nx != 1) + (ny != 1) + (nz != 1); }
};

// The diffusion kernels get a wider-vector clone where the processor has one; both clones
// compute the same IEEE double operations (no contraction), so results do not depend on it.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define SULCAN_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define SULCAN_VECTOR_CLONES
#endif

using Likelihood = std::array<float, 256>;

Likelihood LikelihoodTable(double mean, double sigma) {
    Likelihood table;
    const double norm = sigma * std::sqrt(2.0 * std::numbers::pi);
    for (int i = 0; i < 256; ++i) {
        const double z = (i - mean) / sigma;
        table[size_t(i)] = float(std::exp(-z * z / 2.0) / norm);
    }
    return table;
}

void Posteriors(const uint8_t* anatomy, const Extent& e, ptrdiff_t rowStep, ptrdiff_t planeStep,
                const ClassifyBlockParameters& p, ClassifyWorkspace& ws) {
    std::array<Likelihood, 3> tables;
    for (size_t k = 0; k < 3; ++k) tables[k] = LikelihoodTable(p.means[k], p.deviations[k]);
    size_t n = 0;
    for (size_t z = 0; z < e.nz; ++z)
        for (size_t y = 0; y < e.ny; ++y) {
            const uint8_t* row = anatomy + ptrdiff_t(z) * planeStep + ptrdiff_t(y) * rowStep;
            for (size_t x = 0; x < e.nx; ++x, ++n) {
                double s = 0;
                for (size_t k = 0; k < 3; ++k) s += double(p.priors[k]) * tables[k][row[x]];
                if (s == 0) s = kZeroEvidence;
                for (size_t k = 0; k < 3; ++k)
                    ws.probability[k][n] = float(double(p.priors[k]) * tables[k][row[x]] / s);
            }
        }
}

double StepFactor(int dimensions) {
    static constexpr double kFactor[4] = {0, 0.5, 0.25, 0.16};
    return kFactor[dimensions];
}

// F[i] = flux into P[i] from P[i - stride] for `count` voxels from P.
template <bool Approximate>
SULCAN_VECTOR_CLONES void FluxRun(const float* __restrict P, float* __restrict F, size_t count,
                                  size_t stride, double invK) {
    for (size_t i = 0; i < count; ++i) {
        const double d = double(P[i - stride]) - double(P[i]);
        const double t = std::fabs(d) * invK;
        F[i] = float(d * (Approximate ? 1.0 - t + t * t / 2.0 : std::exp(-t)));
    }
}

// The fluxes of the three axes, zero where the coordinate on the axis is 0.
template <bool Approximate>
void AxisFluxes(const float* P, std::array<std::vector<float>, 3>& F, const Extent& e,
                double invK) {
    float* fx = F[0].data();
    float* fy = F[1].data();
    float* fz = F[2].data();
    const size_t plane = e.plane();
    // x runs over the whole block; the fluxes that crossed from the row before are zeroed
    FluxRun<Approximate>(P + 1, fx + 1, e.voxels() - 1, 1, invK);
    for (size_t row = 0; row < e.voxels(); row += e.nx) fx[row] = 0;
    for (size_t z = 0; z < e.nz; ++z) {
        const size_t base = z * plane;
        std::fill(fy + base, fy + base + e.nx, 0.0f);
        FluxRun<Approximate>(P + base + e.nx, fy + base + e.nx, plane - e.nx, e.nx, invK);
    }
    std::fill(fz, fz + plane, 0.0f);
    FluxRun<Approximate>(P + plane, fz + plane, e.voxels() - plane, plane, invK);
}

// One row of the update; the y and z terms are left out on the last row and plane, the x
// term at the last voxel of the row.
template <bool UseY, bool UseZ>
SULCAN_VECTOR_CLONES void UpdateRow(float* __restrict P, const float* __restrict fx,
                                    const float* __restrict fy, const float* __restrict fz,
                                    size_t nx, size_t sy, size_t sz, double lambda) {
    const auto yz = [&](double s, size_t i) {
        if constexpr (UseY) s += double(fy[i]) - double(fy[i + sy]);
        if constexpr (UseZ) s += double(fz[i]) - double(fz[i + sz]);
        return s;
    };
    for (size_t i = 0; i + 1 < nx; ++i)
        P[i] = float(double(P[i]) + lambda * yz(double(fx[i]) - double(fx[i + 1]), i));
    P[nx - 1] = float(double(P[nx - 1]) + lambda * yz(0.0, nx - 1));
}

// P += lambda * sum over axes of (F(v) - F(v + e)), leaving out an axis at its last voxel.
void ApplyFluxes(float* P, const std::array<std::vector<float>, 3>& F, const Extent& e,
                 double lambda) {
    using Row =
        void (*)(float*, const float*, const float*, const float*, size_t, size_t, size_t, double);
    static constexpr Row kRows[2][2] = {{UpdateRow<false, false>, UpdateRow<false, true>},
                                        {UpdateRow<true, false>, UpdateRow<true, true>}};
    const size_t plane = e.plane();
    for (size_t z = 0; z < e.nz; ++z)
        for (size_t y = 0; y < e.ny; ++y) {
            const size_t i = z * plane + y * e.nx;
            kRows[y + 1 != e.ny][z + 1 != e.nz](P + i, F[0].data() + i, F[1].data() + i,
                                                F[2].data() + i, e.nx, e.nx, plane, lambda);
        }
}

void Diffuse(float* P, ClassifyWorkspace& ws, const Extent& e, const ClassifyBlockParameters& p,
             size_t k) {
    const int dimensions = e.nontrivial();
    if (dimensions == 0 || p.iterations <= 0) return;
    const double lambda = double(p.rate) * StepFactor(dimensions);
    const double invK = 1.0 / double(p.K[k]);
    for (int it = 0; it < p.iterations; ++it) {
        p.approximate ? AxisFluxes<true>(P, ws.flux, e, invK)
                      : AxisFluxes<false>(P, ws.flux, e, invK);
        ApplyFluxes(P, ws.flux, e, lambda);
    }
}

uint8_t LabelOf(float csf, float gray, float white, double margin) {
    const float P[3] = {csf, gray, white};
    if (csf == 0 && gray == 0 && white == 0) return Unknown;
    int w = 0;
    for (int k = 1; k < 3; ++k)
        if (P[k] > P[w]) w = k;
    float runnerUp = -INFINITY;
    for (int k = 0; k < 3; ++k)
        if (k != w) runnerUp = std::max(runnerUp, P[k]);
    if (margin > double(P[w]) - double(runnerUp)) return Unknown;
    return w == kClassWhite ? White : w == kClassCsf ? Csf : Unknown;
}

void WriteLabels(uint8_t* labels, const Extent& e, ptrdiff_t rowStep, ptrdiff_t planeStep,
                 const ClassifyWorkspace& ws, double margin) {
    size_t n = 0;
    for (size_t z = 0; z < e.nz; ++z)
        for (size_t y = 0; y < e.ny; ++y) {
            uint8_t* row = labels + ptrdiff_t(z) * planeStep + ptrdiff_t(y) * rowStep;
            for (size_t x = 0; x < e.nx; ++x, ++n)
                row[x] = LabelOf(ws.probability[0][n], ws.probability[1][n], ws.probability[2][n],
                                 margin);
        }
}

}  // namespace

int ClassifyBlock(const uint8_t* anatomy, int nx, int ny, int nz, ptrdiff_t rowStep,
                  ptrdiff_t planeStep, uint8_t* labels, const ClassifyBlockParameters& p,
                  const ClassifyCancelCheck& check) {
    ClassifyWorkspace workspace;
    return ClassifyBlock(anatomy, nx, ny, nz, rowStep, planeStep, labels, p, check, workspace);
}

int ClassifyBlock(const uint8_t* anatomy, int nx, int ny, int nz, ptrdiff_t rowStep,
                  ptrdiff_t planeStep, uint8_t* labels, const ClassifyBlockParameters& p,
                  const ClassifyCancelCheck& check, ClassifyWorkspace& ws) {
    const Extent e{size_t(nx), size_t(ny), size_t(nz)};
    if (nx < 1 || ny < 1 || nz < 1) return 1;
    if (!ws.Reserve(e.voxels())) return 0;
    const auto stop = [&check] { return check && !check(); };
    Posteriors(anatomy, e, rowStep, planeStep, p, ws);
    if (stop()) return 1;
    for (size_t k = 0; k < 3; ++k) {
        Diffuse(ws.probability[k].data(), ws, e, p, k);
        if (stop()) return 1;
    }
    WriteLabels(labels, e, rowStep, planeStep, ws, 1.0 - double(p.confidence));
    return 1;
}

// ---- block split

std::vector<AxisBlock> SplitAxis(int32_t first, int32_t last) {
    const int32_t n = last - first + 1;
    if (n < 16) return {{first, n}};
    const int32_t r = n % kClassifyBlockEdge;
    int32_t count = n / kClassifyBlockEdge;
    if (r > 15) ++count;
    std::vector<AxisBlock> blocks;
    for (int32_t b = 0; b < count; ++b)
        blocks.push_back({first + b * kClassifyBlockEdge, kClassifyBlockEdge});
    blocks.back().length = r > 15 ? r : kClassifyBlockEdge + r;
    return blocks;
}

std::vector<ClassifyBlockBox> SplitVoi(const VoiBox& voi) {
    std::vector<ClassifyBlockBox> boxes;
    for (const AxisBlock& z : SplitAxis(voi.zmin, voi.zmax))
        for (const AxisBlock& y : SplitAxis(voi.ymin, voi.ymax))
            for (const AxisBlock& x : SplitAxis(voi.xmin, voi.xmax))
                boxes.push_back({x.start, y.start, z.start, x.length, y.length, z.length});
    return boxes;
}

// ---- the apply

bool ClassificationApply::Prepare(const CSulcanDoc& doc, const VoiBox& voi,
                                  const ClassificationParameters& settings, bool classifySlow,
                                  int threads) {
    try {
        copy_ = doc.classification();
    } catch (const std::bad_alloc&) {
        return false;
    }
    anatomy_ = doc.anatomy().data();
    dims_ = doc.dims();
    blocks_ = SplitVoi(voi);
    parameters_ = BlockParametersFor(settings, classifySlow);
    if (threads < 1) threads = int(std::max(1u, std::thread::hardware_concurrency()));
    threads_ = std::max(1, std::min(threads, int(blocks_.size())));
    return true;
}

int ClassificationApply::Percent() const {
    if (blocks_.empty()) return 0;
    const int64_t percent = steps_.load() * 100 / (4 * int64_t(blocks_.size()));
    return int(std::min<int64_t>(percent, 99));
}

void ClassificationApply::Work(const std::function<bool()>& cancelled) {
    ClassifyWorkspace workspace;
    const ClassifyCancelCheck check = [&] {
        ++steps_;
        if (!cancelled()) return true;
        stopped_ = true;
        return false;
    };
    for (;;) {
        if (stopped_ || cancelled()) {
            stopped_ = true;
            return;
        }
        const size_t b = nextBlock_++;
        if (b >= blocks_.size()) return;
        const ClassifyBlockBox& box = blocks_[b];
        const size_t at = dims_.index(box.x, box.y, box.z);
        // a block that runs out of memory keeps its previous labels
        ClassifyBlock(anatomy_ + at, box.nx, box.ny, box.nz, ptrdiff_t(dims_.rowStride()),
                      ptrdiff_t(dims_.planeStride()), copy_.data() + at, parameters_, check,
                      workspace);
    }
}

bool ClassificationApply::Run(const std::function<bool()>& cancelled,
                              const std::function<void(int)>& tick) {
    completed_ = false;
    nextBlock_ = 0;
    steps_ = 0;
    stopped_ = false;
    std::mutex mutex;
    std::condition_variable done;
    int running = 0;
    std::vector<std::thread> pool;
    for (int t = 0; t < threads_; ++t) {
        try {
            pool.emplace_back([&] {
                Work(cancelled);
                std::lock_guard<std::mutex> lock(mutex);
                --running;
                done.notify_all();
            });
            std::lock_guard<std::mutex> lock(mutex);
            ++running;
        } catch (const std::system_error&) {
            break;
        }
    }
    if (pool.empty()) Work(cancelled);
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (!done.wait_for(lock, std::chrono::milliseconds(100), [&] { return running <= 0; }))
            if (tick) tick(Percent());
    }
    for (std::thread& t : pool) t.join();
    if (tick) tick(Percent());
    completed_ = !stopped_;
    return completed_;
}

bool ClassificationApply::Commit(CSulcanDoc& doc) {
    if (!completed_) return false;
    AfterClassification(doc);
    doc.classificationData() = std::move(copy_);
    copy_.clear();
    completed_ = false;
    return true;
}

void AfterClassification(CSulcanDoc& doc) {
    doc.ReleaseGrayGraph();
    doc.SetClassificationChanged(true);
    doc.SetGrayChanged(true);
    doc.settings().ClearTopologyResult();
}

ClassificationRegistryValues RegistryValuesOf(const ClassificationParameters& s,
                                              const ClassifyDialogOptions& o) {
    return {int(s.csfMean),
            int(s.grayMean),
            int(s.whiteMean),
            int(s.noiseStdev),
            int(std::lround(double(s.confidence) * 100.0)),
            s.smoothness,
            o.classify3D ? 1 : 0,
            o.overlayCsf ? 1 : 0,
            o.overlayWhite ? 1 : 0};
}

std::string PercentCompleteText(int percent) {
    return Format(msg::kPercentComplete, std::min(percent, 99));
}

void MakeClassifyTask(WorkerTask& task, ClassificationApply& apply) {
    task.title = msg::kApplyingClassification;
    task.showProgress = 1;
    task.allowCancel = 1;
    task.showLog = 0;
    task.autoClose = 1;
    task.entry = [&apply](WorkerTask& t) -> unsigned {
        const bool done = apply.Run([&t] { return t.CancelRequested(); },
                                    [&t](int percent) { t.PostProgressIfChanged(percent); });
        done ? t.PostFinished() : t.PostCancelled();
        return done ? 1u : 0u;
    };
}

}  // namespace sulcan
