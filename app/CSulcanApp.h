#pragma once
// The application object: start-up options, the preferences, the recent projects and the
// project session, without any window.
#include <memory>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/ProjectSession.h"
#include "app/RecentProjects.h"
#include "app/startup_options.h"

namespace sulcan {

class CSulcanApp {
public:
    // Reads the options and every preference; command-line values take precedence and are
    // written back so that they persist.
    CSulcanApp(const std::vector<std::string>& args, Profile& profile);

    // "RegServer"/"UnregServer": there is no automation server to (un)register, so the
    // program ends at once.
    bool endsAtOnce() const { return options_.serverRegistration; }
    const StartupOptions& options() const { return options_; }
    AppSettings& settings() { return settings_; }
    RecentProjects& recent() { return recent_; }
    Profile& profile() { return profile_; }

    // The project session needs the main frame (its host) and the Ui: made once they exist.
    ProjectSession& StartSession(Ui& ui, ProjectHost& host);
    ProjectSession* session() { return session_.get(); }

private:
    StartupOptions options_;
    Profile& profile_;
    AppSettings settings_;
    RecentProjects recent_;
    std::unique_ptr<ProjectSession> session_;
};

}  // namespace sulcan
