#pragma once

#include <QAbstractTableModel>

#include "shell/window/NameMapList.h"

namespace vantrell {

// The name map's rows as a Qt table view shows them.
class NameMapModel final : public QAbstractTableModel {
  public:
    // The model over `list`, which must outlive it.
    explicit NameMapModel(NameMapList& list, QObject* parent = nullptr)
        : QAbstractTableModel(parent), list_(list) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The cell's text, the whole text as its tooltip; a damaged row's text greyed.
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Tells the view that the map was read again.
    void reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    NameMapList& list_;
};

}  // namespace vantrell
