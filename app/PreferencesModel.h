#pragma once
// The "Preferences" dialog: the six overlay colours, the three switches of the slice views and
// the classification, and the help address. Colour edits are written at once; the rest on OK.
#include <functional>
#include <string>

#include "app/AppSettings.h"
#include "platform/Ui.h"

namespace sulcan {

namespace msg::prefs {
inline constexpr const char* kCaption = "Preferences";
inline constexpr const char* kColourGroup = "Color Scheme";
// In PreferenceColour order.
inline constexpr const char* kColourLabels[kPreferenceColourCount] = {
    "Gray matter",           "Selected Gray matter",  "White matter",
    "Selected White matter", "Cerebral Spinal Fluid", "3D Background"};
inline constexpr const char* kEdit = "Edit";
inline constexpr const char* kCrossbarsGroup = "Crossbars move...";
inline constexpr const char* kSingly = "Singly";
inline constexpr const char* kPaired = "Paired";
inline constexpr const char* kSharedGroup = "Current position shared across views?";
inline constexpr const char* kYes = "Yes";
inline constexpr const char* kNo = "No";
inline constexpr const char* kAlgorithmGroup = "Classification algorithm";
inline constexpr const char* kSlowAlgorithm = "Unix Sulcan 2.1 equivalence (slower)";
inline constexpr const char* kFastAlgorithm = "2nd order approximation (faster)";
inline constexpr const char* kHelpGroup = "Web address / URL for Sulcan help";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kLoadDefaults = "Load defaults";
}  // namespace msg::prefs

// What OK asks of the rest of the application.
struct PreferencesHooks {
    std::function<void()> notifyViews;   // tell every open document's views change code 1
    std::function<void()> redraw3DView;  // redraw the 3D view when it is open
};

class PreferencesModel {
public:
    // The model of an opened dialog: opening writes the help address, as every exchange does.
    PreferencesModel(AppSettings& settings, Ui& ui, PreferencesHooks hooks = {});

    Rgb colour(int row) const { return settings_.colour(row); }
    // "Edit": the colour chooser on the row's colour; a chosen colour is stored and written at
    // once. True when one was chosen (the swatches need repainting).
    bool EditColour(int row);
    // "Load defaults", also what Esc and the close box do; the dialog stays open.
    void LoadDefaults() { settings_.RestoreDefaultColours(); }

    bool singly() const { return singly_; }
    void SetSingly(bool on) { singly_ = on; }
    bool positionShared() const { return positionShared_; }
    void SetPositionShared(bool on) { positionShared_ = on; }
    bool slowClassification() const { return slowClassification_; }
    void SetSlowClassification(bool on) { slowClassification_ = on; }

    const std::string& helpUrl() const { return helpUrl_; }
    // Kept to the edit's 255 characters.
    void SetHelpUrl(const std::string& url);

    // "OK": writes the help address, rebuilds the colour table, stores the three switches
    // and tells the views.
    void Ok();

private:
    void Exchange() { settings_.SetHelpUrl(helpUrl_); }

    AppSettings& settings_;
    Ui& ui_;
    PreferencesHooks hooks_;
    bool singly_, positionShared_, slowClassification_;
    std::string helpUrl_;
};

}  // namespace sulcan
