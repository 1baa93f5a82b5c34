#pragma once
// Helpers of the widget tests: screenshots saved under the build folder, and answering the
// modal dialog that a call is about to open.
#include <QWidget>
#include <functional>
#include <string>

namespace sulcan::testing {

// Saves the widget (shown and laid out first) as NAME.png in the screenshot folder of the
// build and returns the file's path.
std::string SaveScreenshot(QWidget* widget, const std::string& name);

// Runs `act` on the next modal widget of type T once it is shown (from the event loop), so a
// test can drive a dialog that a blocking call opens.
void WhenModalShown(const std::function<void(QWidget*)>& act, int timeoutMs = 5000);

}  // namespace sulcan::testing
