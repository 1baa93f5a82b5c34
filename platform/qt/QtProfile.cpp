#include "platform/qt/QtProfile.h"

namespace sulcan {

QtProfile::QtProfile()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            "Tessaril", "Sulcan")) {}

QtProfile::QtProfile(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QString QtProfile::Key(const std::string& section, const std::string& name) {
    // QSettings treats "/" as a group separator and "\" specially; value names never hold
    // either, so the name is used as it is.
    return QString::fromStdString(section) + "/" + QString::fromStdString(name);
}

int QtProfile::GetInt(const std::string& section, const std::string& name, int fallback) {
    QVariant v = settings_->value(Key(section, name));
    bool ok = false;
    int value = v.toInt(&ok);
    return v.isValid() && ok ? value : fallback;
}

void QtProfile::SetInt(const std::string& section, const std::string& name, int value) {
    settings_->setValue(Key(section, name), value);
}

std::string QtProfile::GetString(const std::string& section, const std::string& name,
                                 const std::string& fallback) {
    QVariant v = settings_->value(Key(section, name));
    return v.isValid() ? v.toString().toStdString() : fallback;
}

void QtProfile::SetString(const std::string& section, const std::string& name,
                          const std::string& value) {
    settings_->setValue(Key(section, name), QString::fromStdString(value));
}

}  // namespace sulcan
