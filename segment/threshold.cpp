#include "segment/threshold.h"

#include <algorithm>
#include <array>
#include <new>

#include "volume/CSulcanDoc.h"

namespace sulcan {

void ThresholdVoi(std::vector<uint8_t>& labels, const std::vector<uint8_t>& anatomy,
                  const VolumeDims& dims, const VoiBox& voi, int level) {
    for (int32_t z = voi.zmin; z <= voi.zmax; ++z)
        for (int32_t y = voi.ymin; y <= voi.ymax; ++y)
            for (int32_t x = voi.xmin; x <= voi.xmax; ++x) {
                const size_t i = dims.index(x, y, z);
                if (TissueOf(labels[i]) == Gray) continue;
                labels[i] = anatomy[i] > level ? White : Unknown;
            }
}

namespace {

// out[i] = 1 when some in[j] with |i - j| <= r is set, along a line of n values.
void DilateLine(const uint8_t* in, uint8_t* out, ptrdiff_t n, ptrdiff_t stride, int r) {
    ptrdiff_t last = -ptrdiff_t(r) - 1;
    for (ptrdiff_t i = 0; i < n; ++i) {
        if (in[i * stride]) last = i;
        out[i * stride] = i - last <= r;
    }
    ptrdiff_t next = n + r + 1;
    for (ptrdiff_t i = n - 1; i >= 0; --i) {
        if (in[i * stride]) next = i;
        if (next - i <= r) out[i * stride] = 1;
    }
}

// One axis of the box dilation over a region of extent e (x fastest).
void DilateAxis(const uint8_t* in, uint8_t* out, const std::array<ptrdiff_t, 3>& e, int axis,
                int r) {
    const std::array<ptrdiff_t, 3> stride = {1, e[0], e[0] * e[1]};
    const int u = axis == 0 ? 1 : 0, v = axis == 2 ? 1 : 2;
    for (ptrdiff_t b = 0; b < e[size_t(v)]; ++b)
        for (ptrdiff_t a = 0; a < e[size_t(u)]; ++a) {
            const ptrdiff_t at = a * stride[size_t(u)] + b * stride[size_t(v)];
            DilateLine(in + at, out + at, e[size_t(axis)], stride[size_t(axis)], r);
        }
}

}  // namespace

int64_t BlurWhite(std::vector<uint8_t>& labels, const VolumeDims& dims, const VoiBox& voi,
                  int radius) {
    const std::array<ptrdiff_t, 3> e = {voi.xmax - voi.xmin + 1, voi.ymax - voi.ymin + 1,
                                        voi.zmax - voi.zmin + 1};
    std::vector<uint8_t> a, b;
    try {
        a.resize(size_t(e[0] * e[1] * e[2]));
        b.resize(a.size());
    } catch (const std::bad_alloc&) {
        return -1;
    }
    const auto forEach = [&](auto&& f) {
        size_t n = 0;
        for (int32_t z = voi.zmin; z <= voi.zmax; ++z)
            for (int32_t y = voi.ymin; y <= voi.ymax; ++y)
                for (int32_t x = voi.xmin; x <= voi.xmax; ++x, ++n)
                    f(labels[dims.index(x, y, z)], n);
    };
    forEach([&](uint8_t label, size_t n) { a[n] = TissueOf(label) == White; });
    // a cube of radius r clamped to the VOI is a box dilation, one axis after the other
    DilateAxis(a.data(), b.data(), e, 0, radius);
    DilateAxis(b.data(), a.data(), e, 1, radius);
    DilateAxis(a.data(), b.data(), e, 2, radius);
    int64_t added = 0;
    forEach([&](uint8_t& label, size_t n) {
        if (b[n] && label == Unknown) label = White, ++added;
    });
    return added;
}

int ApplyThreshold(CSulcanDoc& doc, const VoiBox& voi, const ThresholdOptions& o) {
    if (doc.anatomy().empty() || doc.classification().empty()) return 0;
    std::vector<uint8_t>& labels = doc.classificationData();
    if (o.doThreshold) ThresholdVoi(labels, doc.anatomy(), doc.dims(), voi, o.level);
    if (o.doBlur && o.radius > 0) BlurWhite(labels, doc.dims(), voi, o.radius);  // no mask: no blur
    doc.SetClassificationChanged(true);
    doc.settings().ClearTopologyResult();
    doc.UpdateAllViews(0);
    return 1;
}

// ---- dialog values

ThresholdModel::ThresholdModel(const ThresholdRegistryValues& stored) {
    options_.level = std::clamp(stored.threshold, 0, kMaxThresholdLevel);
    options_.radius = std::clamp(stored.fill, 0, kMaxBlurRadius);
    options_.doThreshold = stored.doThres != 0;
    options_.doBlur = stored.doFill != 0;
}

bool ThresholdModel::SetLevel(int level) {
    if (level < 0 || level > kMaxThresholdLevel) return false;
    options_.level = level;
    return true;
}

bool ThresholdModel::SetRadius(int radius) {
    if (radius < 0 || radius > kMaxBlurRadius) return false;
    options_.radius = radius;
    return true;
}

ThresholdRegistryValues ThresholdModel::TakeOver() const {
    return {options_.level, options_.radius, options_.doThreshold ? 1 : 0, options_.doBlur ? 1 : 0};
}

int ThresholdModel::Apply(CSulcanDoc& doc) const {
    return ApplyThreshold(doc, doc.GetVoi(), options_);
}

}  // namespace sulcan
