#include "app/PreferencesModel.h"

namespace sulcan {

PreferencesModel::PreferencesModel(AppSettings& settings, Ui& ui, PreferencesHooks hooks)
    : settings_(settings),
      ui_(ui),
      hooks_(std::move(hooks)),
      singly_(settings.grabSingly() == 1),
      positionShared_(settings.xyzLock() == 1),
      slowClassification_(settings.classifySlow() == 1),
      helpUrl_(settings.helpUrl()) {
    Exchange();
}

bool PreferencesModel::EditColour(int row) {
    if (row < 0 || row >= kPreferenceColourCount) return false;
    std::optional<Rgb> chosen = ui_.ChooseColour(settings_.colour(row));
    if (!chosen) return false;
    settings_.SetColour(row, *chosen);
    return true;
}

void PreferencesModel::SetHelpUrl(const std::string& url) {
    helpUrl_ = LimitedText(url, setting::kHelpURLMaxLength);
}

void PreferencesModel::Ok() {
    Exchange();
    settings_.RebuildColourTable();
    settings_.SetGrabSingly(singly_ ? 1 : 0);
    settings_.SetXyzLock(positionShared_ ? 1 : 0);
    settings_.SetClassifySlow(slowClassification_ ? 1 : 0);
    if (hooks_.notifyViews) hooks_.notifyViews();
    if (hooks_.redraw3DView) hooks_.redraw3DView();
}

}  // namespace sulcan
