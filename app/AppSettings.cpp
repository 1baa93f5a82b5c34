#include "app/AppSettings.h"

namespace sulcan {

using namespace setting;

namespace {

struct ColourValues {
    const char* red;
    const char* green;
    const char* blue;
    Rgb fallback;
};

// In PreferenceColour order.
const ColourValues kColourValues[kPreferenceColourCount] = {
    {kGrayOvR, kGrayOvG, kGrayOvB, {0, 255, 0}},
    {kGraySelOvR, kGraySelOvG, kGraySelOvB, {0, 0, 255}},
    {kWhiteOvR, kWhiteOvG, kWhiteOvB, {210, 180, 240}},
    {kWhiteSelOvR, kWhiteSelOvG, kWhiteSelOvB, {255, 0, 0}},
    {kCSFOvR, kCSFOvG, kCSFOvB, {255, 255, 0}},
    {kB3dR, kB3dG, kB3dB, {0, 0, 0}},
};

bool IsColourIndex(int which) {
    return which >= 0 && which < kPreferenceColourCount;
}

}  // namespace

std::string IndexedValueName(const char* base, int index) {
    return std::string(base) + "[" + std::to_string(index) + "]";
}

std::string LightValueName(const char* base, int light, int component) {
    return IndexedValueName(base, light) + "[" + std::to_string(component) + "]";
}

std::string LimitedText(const std::string& text, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        // A byte that does not continue a UTF-8 sequence starts a character.
        if ((uint8_t(text[i]) & 0xC0) != 0x80 && chars++ == maxChars) return text.substr(0, i);
    }
    return text;
}

Rgb DefaultColour(int which) {
    return IsColourIndex(which) ? kColourValues[which].fallback : Rgb{};
}

AppSettings::AppSettings(Profile& profile)
    : profile_(profile), locations_(profile) {
    autoSync_ = ReadInt(kAutoSync, 1);
    grabSingly_ = ReadInt(kGrabSingly, 1);
    xyzLock_ = ReadInt(kXYZLock, 1);
    classifySlow_ = ReadInt(kClassifySlow, 0);
    ReadColours();
    helpUrl_ = LimitedText(profile_.GetString(kSettingsSection, kHelpURL, kHelpURLDefault),
                           kHelpURLMaxLength);
    openProject_ = profile_.GetString(kSettingsSection, kOpenProject, kNoOpenProject);
    grayLayers_ = ReadInt(kNGrayLayers, 3);
    zoom_ = {ReadInt(kZoomx, 3), ReadInt(kZoomy, 3), ReadInt(kZoomz, 3)};
    RebuildColourTable();
    ReadGrey();
}

int AppSettings::ReadInt(const char* name, int fallback) const {
    return profile_.GetInt(kSettingsSection, name, fallback);
}

void AppSettings::WriteInt(const char* name, int value) {
    profile_.SetInt(kSettingsSection, name, value);
}

void AppSettings::ReadColours() {
    for (int c = 0; c < kPreferenceColourCount; ++c) {
        const ColourValues& v = kColourValues[c];
        // A component outside 0..255 (an edited profile) falls back to its default.
        auto component = [&](const char* name, uint8_t fallback) {
            const int value = ReadInt(name, fallback);
            return value >= 0 && value <= 255 ? uint8_t(value) : fallback;
        };
        colours_[c] = {component(v.red, v.fallback.r), component(v.green, v.fallback.g),
                       component(v.blue, v.fallback.b)};
    }
}

void AppSettings::ReadGrey() {
    const GreyRegistryValues defaults;
    const GreyRegistryValues stored{ReadInt(kBrightness, defaults.brightness),
                                    ReadInt(kContrast, defaults.contrast),
                                    ReadInt(kGamma, defaults.gamma)};
    drawing_.SetGrey(GreyParametersFromRegistry(stored));
}

void AppSettings::WriteColour(int which) {
    const ColourValues& v = kColourValues[which];
    WriteInt(v.red, colours_[which].r);
    WriteInt(v.green, colours_[which].g);
    WriteInt(v.blue, colours_[which].b);
}

Rect AppSettings::ReadRect(const Rect& initial) const {
    return {ReadInt(kWinLeft, initial.left), ReadInt(kWinTop, initial.top),
            ReadInt(kWinRight, initial.right), ReadInt(kWinBottom, initial.bottom)};
}

void AppSettings::WriteRect(const Rect& rect) {
    WriteInt(kWinLeft, rect.left);
    WriteInt(kWinRight, rect.right);
    WriteInt(kWinTop, rect.top);
    WriteInt(kWinBottom, rect.bottom);
}

void AppSettings::Store(int& field, const char* name, int value) {
    field = value;
    WriteInt(name, value);
}

void AppSettings::SetAutoSync(int value) {
    Store(autoSync_, kAutoSync, value);
}
void AppSettings::SetGrabSingly(int value) {
    Store(grabSingly_, kGrabSingly, value);
}
void AppSettings::SetXyzLock(int value) {
    Store(xyzLock_, kXYZLock, value);
}
void AppSettings::SetClassifySlow(int value) {
    Store(classifySlow_, kClassifySlow, value);
}

Rgb AppSettings::colour(int which) const {
    return IsColourIndex(which) ? colours_[which] : Rgb{};
}

void AppSettings::SetColour(int which, Rgb colour) {
    if (!IsColourIndex(which)) return;
    colours_[which] = colour;
    WriteColour(which);
}

void AppSettings::RestoreDefaultColours() {
    for (int c = 0; c < kPreferenceColourCount; ++c) SetColour(c, DefaultColour(c));
}

void AppSettings::SetHelpUrl(const std::string& url) {
    helpUrl_ = LimitedText(url, kHelpURLMaxLength);
    profile_.SetString(kSettingsSection, kHelpURL, helpUrl_);
}

void AppSettings::SetOpenProject(const std::string& path) {
    openProject_ = path.empty() ? kNoOpenProject : path;
    profile_.SetString(kSettingsSection, kOpenProject, openProject_);
}

void AppSettings::SetGrayLayers(int layers) {
    Store(grayLayers_, kNGrayLayers, layers);
}

void AppSettings::WriteZoom() {
    WriteInt(kZoomx, zoom_[0]);
    WriteInt(kZoomy, zoom_[1]);
    WriteInt(kZoomz, zoom_[2]);
}

void AppSettings::RebuildColourTable() {
    ColourTableRgb rgb = DefaultDisplayColoursRgb();
    rgb[kColourWhiteMatter] = PackRgb(colours_[kColourWhite]);
    rgb[kColourSelectedWhite] = PackRgb(colours_[kColourWhiteSelected]);
    rgb[kColourGrayMatter] = PackRgb(colours_[kColourGray]);
    rgb[kColourSelectedGray] = PackRgb(colours_[kColourGraySelected]);
    rgb[kColourCsfMatter] = PackRgb(colours_[kColourCsf]);
    drawing_.SetColours(rgb);
}

void AppSettings::SetDisplayFormat(DisplayFormat format) {
    drawing_.SetFormat(format);
}

void AppSettings::WriteGrey(const GreyRegistryValues& values) {
    WriteInt(kBrightness, values.brightness);
    WriteInt(kContrast, values.contrast);
    WriteInt(kGamma, values.gamma);
    drawing_.SetGrey(GreyParametersFromRegistry(values));
}

ClassifyDialogOptions AppSettings::ReadClassifyOptions() const {
    return {ReadInt(k3DClassify, 0) != 0, ReadInt(kOverlayCSF, 0) != 0,
            ReadInt(kOverlayWhite, 1) != 0};
}

void AppSettings::WriteClassification(const ClassificationRegistryValues& v) {
    const std::pair<const char*, int> values[] = {
        {kCSFMean, v.csfMean},       {kGrayMean, v.grayMean},     {kWhiteMean, v.whiteMean},
        {kNoiseStdev, v.noiseStdev}, {kConfidence, v.confidence}, {kSmoothness, v.smoothness},
        {k3DClassify, v.classify3D}, {kOverlayCSF, v.overlayCsf}, {kOverlayWhite, v.overlayWhite}};
    for (const auto& [name, value] : values) WriteInt(name, value);
}

ThresholdRegistryValues AppSettings::ReadThreshold() const {
    return {ReadInt(kThreshold, kThresholdDefault), ReadInt(kFill, kFillDefault),
            ReadInt(kDoThres, kDoThresDefault), ReadInt(kDoFill, kDoFillDefault)};
}

void AppSettings::WriteThreshold(const ThresholdRegistryValues& v) {
    WriteInt(kThreshold, v.threshold);
    WriteInt(kFill, v.fill);
    WriteInt(kDoThres, v.doThres);
    WriteInt(kDoFill, v.doFill);
}

}  // namespace sulcan
