#include "shell/qt/QtYesNoQuestion.h"

#include <QApplication>
#include <QMessageBox>

namespace vantrell {

bool QtYesNoQuestion::ask(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                    QApplication::activeWindow());
    box.setObjectName("questionBox");
    box.setDefaultButton(QMessageBox::No);  // a slip of Enter undoes nothing
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace vantrell
