#include "slices/classify_dialog.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/Ui.h"
#include "platform/format.h"
#include "slices/SliceViewModel.h"

namespace sulcan {

namespace {

constexpr std::array<ClassifySliderSpec, kClassifySliderCount> kSliders = {{
    {"CSF Mean", {0, 255}},
    {"Gray Mean", {0, 255}},
    {"White Mean", {0, 255}},
    {"Noise Stdev", {1, 25}},
    {"Confidence", {0, 100}},
    {"Smoothness", {0, 10}},
}};

// The mean each button of the region average question assigns to, in button order.
constexpr std::array<int, 3> kRegionTargets = {kSliderCsfMean, kSliderGrayMean, kSliderWhiteMean};
constexpr int kNoPreviewAverage = 127;

int ClampedTo(int value, SliderRange range) {
    return std::clamp(value, range.minimum, range.maximum);
}

// A window of n voxels centred on c, shifted to stay inside 0..size-1.
int32_t WindowStart(int32_t c, int32_t n, int32_t size) {
    return std::clamp(c - n / 2, 0, std::max(size - n, 0));
}

// Two pixel positions of the square as an inclusive range of picture pixels.
std::pair<int, int> PictureSpan(int a, int b, int zoom, int extent) {
    const auto toPicture = [&](int p) {
        return std::min(std::clamp(p, 0, kClassifyPreviewSide - 1) / zoom, extent - 1);
    };
    return std::minmax(toPicture(a), toPicture(b));
}

}  // namespace

const ClassifySliderSpec& ClassifySliderOf(int slider) {
    return kSliders[size_t(slider)];
}

std::string ClassifySliderText(int slider, int value) {
    if (slider == kSliderConfidence) return Format("%d.%02d", value / 100, value % 100);
    return Format("%d", value);
}

PreviewVolume PreviewVolumeOf(const VolumeDims& dims, int orientation,
                              const std::array<int32_t, 3>& centre,
                              const std::array<int, 3>& zoom) {
    const std::array<int32_t, 3> sizes = {dims.x, dims.y, dims.z};
    std::array<int32_t, 3> wanted{};
    wanted[SliceAxisOf(orientation)] = kClassifyPreviewDepth;
    for (int axis : {HorizontalAxisOf(orientation), VerticalAxisOf(orientation)})
        wanted[axis] = kClassifyPreviewSide / std::max(zoom[axis], 1);
    PreviewVolume v;
    for (int axis = 0; axis < 3; ++axis) {
        v.size[axis] = std::min(wanted[axis], sizes[axis]);
        v.start[axis] = WindowStart(centre[axis], v.size[axis], sizes[axis]);
    }
    return v;
}

ClassifyDialogModel::ClassifyDialogModel(SliceViewModel& view, const SliceDrawing& drawing, Ui& ui,
                                         const ClassifyDialogOptions& stored, bool classifySlow)
    : view_(view),
      drawing_(drawing),
      ui_(ui),
      classifySlow_(classifySlow),
      options_(stored),
      orientation_(view.orientation()),
      centre_(view.point()) {
    const ClassificationRegistryValues r =
        RegistryValuesOf(view.doc().settings().classification(), stored);
    const std::array<int, kClassifySliderCount> start = {r.csfMean,    r.grayMean,   r.whiteMean,
                                                         r.noiseStdev, r.confidence, r.smoothness};
    for (int s = 0; s < kClassifySliderCount; ++s)
        values_[s] = ClampedTo(start[s], kSliders[s].range);
}

void ClassifyDialogModel::SetValue(int slider, int value) {
    value = ClampedTo(value, kSliders[slider].range);
    if (value == values_[slider]) return;
    values_[slider] = value;
    Changed();
}

void ClassifyDialogModel::SetOrientation(int orientation) {
    if (orientation < 0 || orientation > 2 || orientation == orientation_) return;
    orientation_ = orientation;
    rebuild_ = true;
    Changed();
}

int32_t ClassifyDialogModel::SetCentre(int axis, int64_t typed) {
    const VolumeDims& d = view_.doc().dims();
    const int32_t size = axis == 0 ? d.x : axis == 1 ? d.y : d.z;
    const auto value = int32_t(std::clamp<int64_t>(typed, 0, std::max(size - 1, 0)));
    if (value != centre_[axis]) {
        centre_[axis] = value;
        rebuild_ = true;
        Changed();
    }
    return value;
}

PreviewVolume ClassifyDialogModel::previewVolume() const {
    return PreviewVolumeOf(view_.doc().dims(), orientation_, centre_, view_.zoom());
}

void ClassifyDialogModel::Changed() {
    if (autoUpdate_) Preview();
}

// Copies the preview volume's anatomy in picture order.
bool ClassifyDialogModel::Extract() {
    CSulcanDoc& doc = view_.doc();
    const VolumeDims& dims = doc.dims();
    anatomy_.clear();
    labels_.clear();
    if (!dims.valid() || doc.anatomy().size() != dims.voxels()) return false;
    const int h = HorizontalAxisOf(orientation_), v = VerticalAxisOf(orientation_),
              s = SliceAxisOf(orientation_);
    volume_ = previewVolume();
    pictureOrientation_ = orientation_;
    width_ = volume_.size[h], height_ = volume_.size[v], depth_ = volume_.size[s];
    centreSlice_ = centre_[s] - volume_.start[s];
    anatomy_.resize(size_t(width_) * height_ * depth_);
    size_t at = 0;
    std::array<int32_t, 3> p{};
    for (int k = 0; k < depth_; ++k)
        for (int j = 0; j < height_; ++j)
            for (int i = 0; i < width_; ++i) {
                p[s] = volume_.start[s] + k, p[v] = volume_.start[v] + j,
                p[h] = volume_.start[h] + i;
                anatomy_[at++] = doc.anatomy()[dims.index(p[0], p[1], p[2])];
            }
    rebuild_ = false;
    return true;
}

ClassifyBlockParameters ClassifyDialogModel::BlockParameters() const {
    return BlockParametersFor(Values(), classifySlow_);
}

bool ClassifyDialogModel::Preview() {
    try {
        if ((rebuild_ || anatomy_.empty()) && !Extract()) return false;
        std::vector<uint8_t> labels(anatomy_.size(), Unknown);
        const ptrdiff_t plane = ptrdiff_t(width_) * height_;
        const ptrdiff_t first = options_.classify3D ? 0 : centreSlice_ * plane;
        const int slices = options_.classify3D ? depth_ : 1;
        const int ok = ClassifyBlock(anatomy_.data() + first, width_, height_, slices, width_,
                                     plane, labels.data() + first, BlockParameters());
        labels_ = ok ? std::move(labels) : std::vector<uint8_t>{};
    } catch (const std::bad_alloc&) {
        labels_.clear();
    }
    return hasPreview();
}

int ClassifyDialogModel::horizontalZoom() const {
    return std::max(view_.zoom()[HorizontalAxisOf(pictureOrientation_)], 1);
}
int ClassifyDialogModel::verticalZoom() const {
    return std::max(view_.zoom()[VerticalAxisOf(pictureOrientation_)], 1);
}

std::optional<SlicePicture> ClassifyDialogModel::UpperPicture() const {
    return PictureOf(true);
}
std::optional<SlicePicture> ClassifyDialogModel::LowerPicture() const {
    return PictureOf(false);
}

std::optional<SlicePicture> ClassifyDialogModel::PictureOf(bool withAnatomy) const {
    if (!hasPreview()) return std::nullopt;
    const DisplayColours& colours = drawing_.colours();
    const GreyTable& grey = drawing_.greyTable();
    OverlaySwitches on;
    on.white = options_.overlayWhite;
    on.csf = options_.overlayCsf;
    SlicePicture p;
    p.format = drawing_.format();
    p.width = width_, p.height = height_;
    p.rowBytes = PictureRowBytes(width_, p.format);
    p.pixels.assign(p.rowBytes * size_t(height_), 0);
    const size_t plane = size_t(width_) * height_, first = size_t(centreSlice_) * plane;
    p.anatomy.assign(anatomy_.begin() + first, anatomy_.begin() + first + plane);
    p.labels.assign(labels_.begin() + first, labels_.begin() + first + plane);
    for (int r = 0; r < height_; ++r)
        for (int c = 0; c < width_; ++c) {
            const size_t at = size_t(r) * width_ + c;
            const int k = OverlayColourOf(p.labels[at], on);
            const uint32_t rest = withAnatomy ? grey[p.anatomy[at]] : colours.pixel[kColourBlack];
            p.SetPixel(c, r, k < 0 ? rest : colours.pixel[k]);
        }
    return p;
}

int ClassifyDialogModel::RegionAverage(int x0, int y0, int x1, int y1) const {
    if (!hasPreview()) return kNoPreviewAverage;
    const auto [c0, c1] = PictureSpan(x0, x1, horizontalZoom(), width_);
    const auto [r0, r1] = PictureSpan(y0, y1, verticalZoom(), height_);
    const uint8_t* slice = anatomy_.data() + size_t(centreSlice_) * width_ * height_;
    int64_t sum = 0;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) sum += slice[size_t(r) * width_ + c];
    return int(sum / (int64_t(c1 - c0 + 1) * (r1 - r0 + 1)));
}

void ClassifyDialogModel::AssignRegionAverage(int x0, int y0, int x1, int y1) {
    const int average = RegionAverage(x0, y0, x1, y1);
    Question q;
    q.caption = msg::classify::kRegionTitle;
    q.lines = {Format(msg::classify::kRegionAverage, average), msg::classify::kWhichSlider};
    q.buttons = {"CSF", "Gray", "White", "Cancel"};
    q.cancelButton = 3;
    const int chosen = ui_.Ask(q);
    if (chosen >= 0 && chosen < int(kRegionTargets.size()))
        SetValue(kRegionTargets[size_t(chosen)], average);
}

ClassificationParameters ClassifyDialogModel::Values() const {
    ClassificationParameters p;
    p.csfMean = float(values_[kSliderCsfMean]);
    p.grayMean = float(values_[kSliderGrayMean]);
    p.whiteMean = float(values_[kSliderWhiteMean]);
    p.noiseStdev = float(values_[kSliderNoiseStdev]);
    p.confidence = float(values_[kSliderConfidence]) / 100.0f;
    p.smoothness = values_[kSliderSmoothness];
    return p;
}

}  // namespace sulcan
