#include "shell/qt/LocateDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "shell/qt/DialogFont.h"
#include "shell/qt/Twips.h"

namespace vantrell {

// A dialog window, so that the window system keeps it with its owner (on X11 its
// WM_TRANSIENT_FOR): no task-bar entry of its own. Its frame has the minimise and maximise boxes.
LocateDialog::LocateDialog(frmLocateCHdata& logic, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      logic_(logic) {
    setObjectName("frmLocateCHdata");
    setWindowTitle(frmLocateCHdata::kCaption);
    setModal(true);
    setFont(dialogFont());
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
    } else {
        // The owner may not have been shown yet (the dialogs of its load): its native window
        // is made now, so that the dialog is transient for it from the start.
        QWidget* ownerWindow = owner_->window();
        ownerWindow->winId();
        window.winId();
        window.windowHandle()->setTransientParent(ownerWindow->windowHandle());
    }
    window.exec();
}

QString qtNameFilter(const std::string& filter) {
    const QString text = QString::fromStdString(filter);
    const auto bar = text.indexOf('|');
    if (bar < 0) {
        return text;
    }
    // A description that already ends with its pattern in brackets ("Chronel Application
    // (ChronelV7.mde)") is the whole Qt filter; the pattern would otherwise show twice.
    const QString description = text.left(bar);
    const QString pattern = text.mid(bar + 1);
    const QString shown = " (" + pattern + ")";
    return description.endsWith(shown) ? description : description + shown;
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
