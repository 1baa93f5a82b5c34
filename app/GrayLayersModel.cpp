#include "app/GrayLayersModel.h"

#include <algorithm>

namespace sulcan {

GrayLayersModel::GrayLayersModel(const AppSettings& settings, const CSulcanDoc& doc)
    : white_(doc.whiteContention), gray_(doc.grayContention) {
    layers_ = std::clamp(settings.grayLayers(), kMinGrayLayers, kMaxGrayLayers);
}

void GrayLayersModel::SetLayers(int layers) {
    layers_ = std::clamp(layers, kMinGrayLayers, kMaxGrayLayers);
}

void GrayLayersModel::Accept(AppSettings& settings, CSulcanDoc& doc) const {
    settings.SetGrayLayers(layers_);
    doc.whiteContention = white_;
    doc.grayContention = gray_;
}

}  // namespace sulcan
