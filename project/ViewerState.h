#pragma once
// The 3D viewer's persistent state: a 1096-byte little-endian block that the project file
// carries whole. The viewer itself (camera, lights, registry keys) builds on this layout.
#include <array>
#include <cstdint>
#include <string>

namespace sulcan {

struct WindowPlacement {
    int32_t length = 0, flags = 0, showCmd = 0;
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const WindowPlacement&) const = default;
};

struct ViewerState {
    static constexpr int kBytes = 1096;
    static constexpr int kLights = 8;

    WindowPlacement placement;
    std::array<char, 256> meshFile{};  // NUL-terminated; empty for a built mesh
    int32_t reserved = 0;
    float rotation[3] = {0, 0, 0};  // degrees about x, y, z
    float pan[2] = {0, 0};
    float zoom = 1;
    float spinAxis[3] = {0, 0, 1};
    float spinRpm = 0;
    int32_t spinActive = 0;
    int32_t useLighting = 0;
    int32_t showLights = 0;
    int32_t showCurrentPoint = 0;
    int32_t showCurrentSlice = 0;
    int32_t smoothShading = 1;
    int32_t pointsOnly = 0;
    float gloss = 1;
    float globalAmbient[4] = {0.2f, 0.2f, 0.2f, 0.3f};
    float lightAmbient[kLights][4];
    float lightDiffuse[kLights][4];
    float lightSpecular[kLights][4];
    float lightPosition[kLights][6];  // x, y, z, w, spot cut-off (degrees), spot exponent
    float lightDirection[kLights][3];
    int32_t lightOn[kLights];

    ViewerState();  // every field at its default, all lights off

    std::string MeshFileName() const;
    void SetMeshFileName(const std::string& name);  // cut to 255 characters

    void Encode(uint8_t* out) const;
    static ViewerState Decode(const uint8_t* in);
    // The load check of the project file: rotation, pan, zoom, spin, gloss, colours, spot
    // cut-offs and exponents within their ranges.
    static bool BlockInRange(const uint8_t* block);
    bool operator==(const ViewerState& other) const;  // by stored bytes
    template <typename Codec>
    static void Walk(Codec& c, ViewerState& s);  // the fields in block order
};

}  // namespace sulcan
