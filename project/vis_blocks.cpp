#include "project/vis_blocks.h"

#include <cstring>
#include <utility>

#include "platform/byte_io.h"

namespace sulcan {

namespace {
bool InRange(float v, float lo, float hi) { return v >= lo && v <= hi; }  // NaN fails

// Each block is a sequence of 32-bit words; a float word carries its bit pattern.
struct WordWriter {
    uint8_t* p;
    void I(int32_t v) { PutLE32(p, uint32_t(v)), p += 4; }
    void F(float v) { PutLE32(p, FloatBits(v)), p += 4; }
};
struct WordReader {
    const uint8_t* p;
    int32_t I() { return int32_t(GetLE32(std::exchange(p, p + 4))); }
    float F() { return BitsFloat(GetLE32(std::exchange(p, p + 4))); }
};
}  // namespace

bool SmoothingParameters::Valid() const {
    return InRange(convergence, 0, 1) && maxIterations >= 0 && InRange(featureAngle, 0, 180) &&
           InRange(edgeAngle, 0, 180);
}

void SmoothingParameters::Encode(uint8_t* out) const {
    WordWriter w{out};
    w.F(convergence);
    w.I(maxIterations);
    w.F(relaxation);
    w.F(featureAngle);
    w.F(edgeAngle);
    w.I(featureEdgeSmoothing);
    w.I(boundarySmoothing);
    w.I(skip);
}

SmoothingParameters SmoothingParameters::Decode(const uint8_t* in) {
    WordReader r{in};
    SmoothingParameters s;
    s.convergence = r.F();
    s.maxIterations = r.I();
    s.relaxation = r.F();
    s.featureAngle = r.F();
    s.edgeAngle = r.F();
    s.featureEdgeSmoothing = r.I();
    s.boundarySmoothing = r.I();
    s.skip = r.I();
    return s;
}

bool SmoothingParameters::operator==(const SmoothingParameters& other) const {
    uint8_t a[kBytes], b[kBytes];
    Encode(a);
    other.Encode(b);
    return std::memcmp(a, b, kBytes) == 0;
}

bool DecimationParameters::Valid() const {
    return InRange(initialFeatureAngle, 0, 180) && InRange(featureAngleIncrement, 0, 180) &&
           InRange(maxFeatureAngle, 0, 180) && InRange(initialError, 0, 1) &&
           InRange(errorIncrement, 0, 1) && InRange(maxError, 0, 1) && maxIterations >= 0 &&
           maxSubIterations >= 0 && InRange(aspectRatio, 1, 1000) && degree >= 25 &&
           degree <= 512 && targetTriangles >= 0;
}

void DecimationParameters::Encode(uint8_t* out) const {
    WordWriter w{out};
    w.F(initialFeatureAngle);
    w.F(featureAngleIncrement);
    w.F(maxFeatureAngle);
    w.I(preserveEdges);
    w.I(boundaryVertexDeletion);
    w.F(initialError);
    w.F(errorIncrement);
    w.F(maxError);
    w.I(maxIterations);
    w.I(maxSubIterations);
    w.F(aspectRatio);
    w.I(degree);
    w.I(preserveTopology);
    w.I(targetTriangles);
    w.I(skip);
}

DecimationParameters DecimationParameters::Decode(const uint8_t* in) {
    WordReader r{in};
    DecimationParameters d;
    d.initialFeatureAngle = r.F();
    d.featureAngleIncrement = r.F();
    d.maxFeatureAngle = r.F();
    d.preserveEdges = r.I();
    d.boundaryVertexDeletion = r.I();
    d.initialError = r.F();
    d.errorIncrement = r.F();
    d.maxError = r.F();
    d.maxIterations = r.I();
    d.maxSubIterations = r.I();
    d.aspectRatio = r.F();
    d.degree = r.I();
    d.preserveTopology = r.I();
    d.targetTriangles = r.I();
    d.skip = r.I();
    return d;
}

bool DecimationParameters::operator==(const DecimationParameters& other) const {
    uint8_t a[kBytes], b[kBytes];
    Encode(a);
    other.Encode(b);
    return std::memcmp(a, b, kBytes) == 0;
}

}  // namespace sulcan
