#pragma once

#include <QObject>
#include <QPoint>
#include <functional>

class QAbstractItemView;

namespace vantrell {

// Opens a view's context menu from a right click, the menu key and Shift+F10 alike on every
// platform (not every one turns both keys into a context-menu event; the offscreen one turns
// neither). `show` gets the point in the view's viewport: the mouse's, or for a key the
// current row's corner. Owned by the view.
class KeyboardContextMenu final : public QObject {
  public:
    KeyboardContextMenu(QAbstractItemView* view, std::function<void(const QPoint&)> show);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAbstractItemView* view_;
    std::function<void(const QPoint&)> show_;
};

}  // namespace vantrell
