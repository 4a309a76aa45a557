#pragma once

#include <QAbstractTableModel>
#include <cstddef>
#include <string>

namespace vantrell {

// A table of texts as a Qt table view shows it: each cell's text (also its tooltip, so that a
// cell too narrow for it can be read whole), numbers aligned right, the columns' titles. The
// view asks only for the cells on screen, so that a table of hundreds of thousands of rows
// opens at once. A model says what its table holds; this says how a view gets it.
class TextTableModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const final;
    int columnCount(const QModelIndex& parent = {}) const final;
    QVariant data(const QModelIndex& index, int role) const final;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const final;

  protected:
    virtual std::size_t rows() const = 0;
    virtual std::size_t columns() const = 0;
    // Asked only inside the table.
    virtual std::string text(std::size_t row, std::size_t column) const = 0;
    virtual std::string title(std::size_t column) const = 0;
    virtual bool numeric(std::size_t column) const = 0;
};

}  // namespace vantrell
