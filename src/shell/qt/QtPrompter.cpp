#include "shell/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace vantrell {

void QtPrompter::show(const std::string& text, const std::string& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                    QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName("messageBox");
    box.exec();
}

}  // namespace vantrell
