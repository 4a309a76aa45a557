#include "shell/window/LocationStep.h"

#include "diag/FileSystem.h"

namespace vantrell {

bool runLocationStep(modErrorLog& log, ProgramState& state, SettingsStore& settings,
                     LocateDialogHost& host, FileOpenDialog& fileDialog, const std::string& key,
                     std::string& variable, const std::string& filter) {
    variable = settings.GetSetting(kSettingsApp, kSettingsSection, key, "");
    if (fileExists(utf8ToPath(variable))) {
        return true;
    }
    frmLocateCHdata dialog(log, state, fileDialog);
    dialog.strFilter = filter;
    dialog.Form_Load();
    host.showModal(dialog);
    if (!fileExists(utf8ToPath(variable))) {
        return false;
    }
    settings.SaveSetting(kSettingsApp, kSettingsSection, key, variable);
    return true;
}

}  // namespace vantrell
