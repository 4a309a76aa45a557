#include "shell/qt/LocateDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "shell/qt/Twips.h"

namespace vantrell {

LocateDialog::LocateDialog(frmLocateCHdata& logic, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      logic_(logic) {
    setObjectName("frmLocateCHdata");
    setWindowTitle(frmLocateCHdata::kCaption);
    setModal(true);
    resize(twipsToPixels(3915, *this), twipsToPixels(2280, *this));

    auto* label = new QLabel(QString::fromStdString(logic_.lblLocate()), this);
    label->setObjectName("lblLocate");
    QFont font("MS Sans Serif");
    font.setPointSize(12);
    label->setFont(font);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(240, 240, 3375, 1215, *this));

    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setGeometry(twipsRect(120, 1560, 975, 495, *this));
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdClose");
    close->setGeometry(twipsRect(2760, 1560, 975, 495, *this));
    setTabOrder(ok, close);
    ok->setDefault(true);

    connect(ok, &QPushButton::clicked, this, [this] {
        logic_.cmdOK_Click();
        if (logic_.closed()) {
            accept();
        }
    });
    connect(close, &QPushButton::clicked, this, [this] {
        logic_.cmdClose_Click();
        reject();
    });
}

void QtLocateHost::showModal(frmLocateCHdata& dialog) {
    LocateDialog window(dialog, owner_);
    if (owner_ == nullptr) {
        window.move(window.screen()->availableGeometry().center() - window.rect().center());
    }
    window.exec();
}

QString qtNameFilter(const std::string& filter) {
    const QString text = QString::fromStdString(filter);
    const auto bar = text.indexOf('|');
    if (bar < 0) {
        return text;
    }
    return text.left(bar) + " (" + text.mid(bar + 1) + ")";
}

std::string QtFileOpenDialog::showOpen(const std::string& filter, int) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setObjectName("CommonDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);  // a name that does not exist may be typed
    dialog.setNameFilter(qtNameFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace vantrell
