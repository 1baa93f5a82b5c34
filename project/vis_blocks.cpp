#include "project/vis_blocks.h"

#include "project/in_range.h"
#include "project/word_codec.h"

namespace sulcan {

template <typename Codec>
void SmoothingParameters::Walk(Codec& c, SmoothingParameters& s) {
    c.F(s.convergence);
    c.I(s.maxIterations);
    c.F(s.relaxation);
    c.F(s.featureAngle);
    c.F(s.edgeAngle);
    c.I(s.featureEdgeSmoothing);
    c.I(s.boundarySmoothing);
    c.I(s.skip);
}

template <typename Codec>
void DecimationParameters::Walk(Codec& c, DecimationParameters& d) {
    c.F(d.initialFeatureAngle);
    c.F(d.featureAngleIncrement);
    c.F(d.maxFeatureAngle);
    c.I(d.preserveEdges);
    c.I(d.boundaryVertexDeletion);
    c.F(d.initialError);
    c.F(d.errorIncrement);
    c.F(d.maxError);
    c.I(d.maxIterations);
    c.I(d.maxSubIterations);
    c.F(d.aspectRatio);
    c.I(d.degree);
    c.I(d.preserveTopology);
    c.I(d.targetTriangles);
    c.I(d.skip);
}

bool SmoothingParameters::Valid() const {
    return InClosedRange<float>(convergence, 0, 1) && maxIterations >= 0 && InClosedRange<float>(featureAngle, 0, 180) &&
           InClosedRange<float>(edgeAngle, 0, 180);
}
void SmoothingParameters::Encode(uint8_t* out) const { EncodeRecord(*this, out); }
SmoothingParameters SmoothingParameters::Decode(const uint8_t* in) {
    return DecodeRecord<SmoothingParameters>(in);
}
bool SmoothingParameters::operator==(const SmoothingParameters& other) const {
    return SameRecordBytes(*this, other);
}

bool DecimationParameters::Valid() const {
    return InClosedRange<float>(initialFeatureAngle, 0, 180) && InClosedRange<float>(featureAngleIncrement, 0, 180) &&
           InClosedRange<float>(maxFeatureAngle, 0, 180) && InClosedRange<float>(initialError, 0, 1) &&
           InClosedRange<float>(errorIncrement, 0, 1) && InClosedRange<float>(maxError, 0, 1) && maxIterations >= 0 &&
           maxSubIterations >= 0 && InClosedRange<float>(aspectRatio, 1, 1000) && degree >= 25 &&
           degree <= 512 && targetTriangles >= 0;
}
void DecimationParameters::Encode(uint8_t* out) const { EncodeRecord(*this, out); }
DecimationParameters DecimationParameters::Decode(const uint8_t* in) {
    return DecodeRecord<DecimationParameters>(in);
}
bool DecimationParameters::operator==(const DecimationParameters& other) const {
    return SameRecordBytes(*this, other);
}

}  // namespace sulcan
