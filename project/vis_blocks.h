#pragma once
// The two parameter blocks of the mesh build that the project file carries as raw records:
// SmoothingParameters (8 words, 32 bytes) and DecimationParameters (15 words, 60 bytes).
#include <cstdint>

namespace sulcan {

struct SmoothingParameters {
    float convergence = 0.0f;      // fraction of the bounding box, 0..1
    int32_t maxIterations = 50;    // >= 0
    float relaxation = 0.1f;       // not checked
    float featureAngle = 45.0f;    // 0..180
    float edgeAngle = 15.0f;       // 0..180
    int32_t featureEdgeSmoothing = 0;
    int32_t boundarySmoothing = 1;
    int32_t skip = 0;

    static constexpr int kWords = 8;
    static constexpr int kBytes = kWords * 4;
    bool Valid() const;
    void Encode(uint8_t* out) const;
    static SmoothingParameters Decode(const uint8_t* in);
    template <typename Codec>
    static void Walk(Codec& c, SmoothingParameters& s);  // the words in file order
    // Blocks compare as their stored bytes.
    bool operator==(const SmoothingParameters& other) const;
};

struct DecimationParameters {
    float initialFeatureAngle = 30.0f;   // 0..180
    float featureAngleIncrement = 0.0f;  // 0..180
    float maxFeatureAngle = 60.0f;       // 0..180
    int32_t preserveEdges = 0;
    int32_t boundaryVertexDeletion = 1;
    float initialError = 0.0f;           // 0..1
    float errorIncrement = 0.005f;       // 0..1
    float maxError = 0.1f;               // 0..1
    int32_t maxIterations = 6;           // >= 0
    int32_t maxSubIterations = 2;        // >= 0
    float aspectRatio = 25.0f;           // 1..1000
    int32_t degree = 25;                 // 25..512
    int32_t preserveTopology = 1;
    int32_t targetTriangles = 15000;     // >= 0
    int32_t skip = 0;

    static constexpr int kWords = 15;
    static constexpr int kBytes = kWords * 4;
    bool Valid() const;
    void Encode(uint8_t* out) const;
    static DecimationParameters Decode(const uint8_t* in);
    template <typename Codec>
    static void Walk(Codec& c, DecimationParameters& d);
    bool operator==(const DecimationParameters& other) const;
};

}  // namespace sulcan
