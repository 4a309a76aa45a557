#include "shell/qt/FileSaveDialog.h"

#include <QApplication>
#include <QFileDialog>

#include "shell/qt/LocateDialog.h"

namespace vantrell {

std::string QtFileSaveDialog::showSave(const std::string& filter,
                                       const std::string& suggestedName) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setObjectName("SaveDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(qtNameFilter(filter));
    const auto star = filter.rfind("*.");
    if (star != std::string::npos) {
        dialog.setDefaultSuffix(QString::fromStdString(filter.substr(star + 2)));
    }
    dialog.selectFile(QString::fromStdString(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace vantrell
