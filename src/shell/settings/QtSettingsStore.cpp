#include "shell/settings/QtSettingsStore.h"

#include <QSettings>
#include <QString>

namespace vantrell {

namespace {

constexpr const char* kOrganisation = "VB and VBA Program Settings";

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

std::string QtSettingsStore::GetSetting(const std::string& appName, const std::string& section,
                                        const std::string& key, const std::string& defaultValue) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, q(appName));
    return settings.value(q(section + "/" + key), q(defaultValue)).toString().toStdString();
}

void QtSettingsStore::SaveSetting(const std::string& appName, const std::string& section,
                                  const std::string& key, const std::string& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, q(appName));
    settings.setValue(q(section + "/" + key), q(value));
    settings.sync();
}

}  // namespace vantrell
