#include "shell/qt/KeyboardContextMenu.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>

namespace vantrell {

KeyboardContextMenu::KeyboardContextMenu(QAbstractItemView* view,
                                         std::function<void(const QPoint&)> show)
    : QObject(view), view_(view), show_(std::move(show)) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->installEventFilter(this);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { show_(position); });
}

bool KeyboardContextMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            const QModelIndex current = view_->currentIndex();
            show_(current.isValid() ? view_->visualRect(current).bottomLeft() : QPoint(0, 0));
            return true;
        }
    }
    if (watched == view_ && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        return true;  // a platform that also turns the key into this: opened above
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vantrell
