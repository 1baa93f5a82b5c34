#include "app/CSulcanApp.h"

#include "volume/overlay_loading.h"

namespace sulcan {

CSulcanApp::CSulcanApp(const std::vector<std::string>& args, Profile& profile)
    : options_(ParseStartupOptions(args)), profile_(profile), settings_(profile), recent_(profile) {
    if (options_.layers) settings_.SetGrayLayers(*options_.layers);
    std::array<int, 3> zoom = settings_.zoom();
    for (int axis = 0; axis < 3; ++axis)
        if (options_.zoom[axis]) zoom[axis] = *options_.zoom[axis];
    settings_.SetZoom(zoom[0], zoom[1], zoom[2]);
    settings_.SetGrayLayers(settings_.grayLayers());  // written back with the zoom factors
    settings_.WriteZoom();
}

ProjectSession& CSulcanApp::StartSession(Ui& ui, ProjectHost& host) {
    session_ = std::make_unique<ProjectSession>(ui, profile_, settings_.locations(), recent_, host);
    // Overlay colours are kept in the display format the drawing has when they are loaded.
    session_->loadOverlays = [this, &ui](CSulcanDoc& doc) {
        LoadOverlays(doc, ui, [this](uint32_t rgb) {
            return ToDisplayPixel(rgb, settings_.drawing().format());
        });
    };
    return *session_;
}

}  // namespace sulcan
