#include "project/ViewerState.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_io.h"
#include "project/in_range.h"
#include "project/word_codec.h"

namespace sulcan {

namespace {

// Word indices (4-byte words from the start of the block) of the checked fields.
constexpr int kRotationWord = 76, kPanWord = 79, kZoomWord = 81, kSpinAxisWord = 82,
              kSpinRpmWord = 85, kGlossWord = 93, kAmbientWord = 94, kLightColourWord = 98,
              kLightColourWords = 96, kLightPositionWord = 194;

bool WordInRange(const uint8_t* block, int word, float lo, float hi) {
    return InClosedRange(BitsFloat(GetLE32(block + 4 * word)), lo, hi);
}

bool WordsInRange(const uint8_t* block, int first, int count, float lo, float hi) {
    for (int i = first; i < first + count; ++i)
        if (!WordInRange(block, i, lo, hi)) return false;
    return true;
}

}  // namespace

ViewerState::ViewerState() {
    for (int i = 0; i < kLights; ++i) {
        const float ambient[4] = {0.2f, 0.2f, 0.2f, 1}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1},
                    position[6] = {0, 0, 0, 1, 30, 100};
        std::memcpy(lightAmbient[i], ambient, sizeof ambient);
        std::memcpy(lightDiffuse[i], diffuse, sizeof diffuse);
        for (float& v : lightSpecular[i]) v = 1;
        std::memcpy(lightPosition[i], position, sizeof position);
        for (float& v : lightDirection[i]) v = 1;
        lightOn[i] = 0;
    }
}

std::string ViewerState::MeshFileName() const {
    return std::string(meshFile.data(), strnlen(meshFile.data(), meshFile.size()));
}

void ViewerState::SetMeshFileName(const std::string& name) {
    meshFile.fill(0);
    std::memcpy(meshFile.data(), name.data(), std::min(name.size(), meshFile.size() - 1));
}

template <typename Codec>
void ViewerState::Walk(Codec& c, ViewerState& s) {
    WindowPlacement& w = s.placement;
    for (int32_t* v : {&w.length, &w.flags, &w.showCmd, &w.minX, &w.minY, &w.maxX, &w.maxY,
                       &w.left, &w.top, &w.right, &w.bottom})
        c.I(*v);
    c.Chars(s.meshFile.data(), 256);
    c.I(s.reserved);
    c.Fs(s.rotation, 3);
    c.Fs(s.pan, 2);
    c.F(s.zoom);
    c.Fs(s.spinAxis, 3);
    c.F(s.spinRpm);
    for (int32_t* v : {&s.spinActive, &s.useLighting, &s.showLights, &s.showCurrentPoint,
                       &s.showCurrentSlice, &s.smoothShading, &s.pointsOnly})
        c.I(*v);
    c.F(s.gloss);
    c.Fs(s.globalAmbient, 4);
    for (auto* table : {s.lightAmbient, s.lightDiffuse, s.lightSpecular})
        for (int i = 0; i < kLights; ++i) c.Fs(table[i], 4);
    for (int i = 0; i < kLights; ++i) c.Fs(s.lightPosition[i], 6);
    for (int i = 0; i < kLights; ++i) c.Fs(s.lightDirection[i], 3);
    for (int i = 0; i < kLights; ++i) c.I(s.lightOn[i]);
}

void ViewerState::Encode(uint8_t* out) const { EncodeRecord(*this, out); }
ViewerState ViewerState::Decode(const uint8_t* in) { return DecodeRecord<ViewerState>(in); }

bool ViewerState::BlockInRange(const uint8_t* b) {
    if (!WordsInRange(b, kRotationWord, 3, -360, 360)) return false;
    if (!WordsInRange(b, kPanWord, 2, -50, 50)) return false;
    if (!WordInRange(b, kZoomWord, 0.01f, 100)) return false;
    if (!WordsInRange(b, kSpinAxisWord, 3, -99, 99)) return false;
    if (!WordInRange(b, kSpinRpmWord, 0, 240)) return false;
    if (!WordsInRange(b, kGlossWord, 1, 0, 1)) return false;
    if (!WordsInRange(b, kAmbientWord, 4, 0, 1)) return false;
    if (!WordsInRange(b, kLightColourWord, kLightColourWords, 0, 1)) return false;
    for (int j = 0; j < kLights; ++j) {
        if (!WordInRange(b, kLightPositionWord + 4 + 6 * j, 0, 180)) return false;
        if (!WordInRange(b, kLightPositionWord + 5 + 6 * j, 0, 128)) return false;
    }
    return true;
}

bool ViewerState::operator==(const ViewerState& other) const {
    return SameRecordBytes(*this, other);
}

}  // namespace sulcan
