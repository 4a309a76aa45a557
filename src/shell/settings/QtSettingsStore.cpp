#include "shell/settings/QtSettingsStore.h"

#include <QSettings>
#include <QString>

#include "diag/Failure.h"

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
    // A store that cannot be written fails as the registry's does, for the caller to log.
    if (settings.status() != QSettings::NoError) {
        throw Failure("Could not store the setting " + key + " in " +
                      settings.fileName().toStdString() + ": " +
                      (settings.status() == QSettings::AccessError
                           ? "the file cannot be written"
                           : "the file is not in the settings format"));
    }
}

}  // namespace vantrell
