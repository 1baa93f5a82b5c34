#pragma once
// The Profile port on QSettings: organisation "Tessaril", application "Sulcan", INI format.
#include <QSettings>
#include <memory>

#include "platform/Profile.h"

namespace sulcan {

class QtProfile : public Profile {
public:
    QtProfile();
    // A profile kept in the given INI file (for tests and for a portable set-up).
    explicit QtProfile(const QString& iniFile);

    int GetInt(const std::string& section, const std::string& name, int fallback) override;
    void SetInt(const std::string& section, const std::string& name, int value) override;
    std::string GetString(const std::string& section, const std::string& name,
                          const std::string& fallback) override;
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override;
    void Sync() { settings_->sync(); }

private:
    static QString Key(const std::string& section, const std::string& name);
    std::unique_ptr<QSettings> settings_;
};

}  // namespace sulcan
