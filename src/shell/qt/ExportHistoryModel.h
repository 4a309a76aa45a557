#pragma once

#include "shell/qt/TextTableModel.h"
#include "shell/window/ExportHistory.h"

namespace vantrell {

// The exports of the history as a Qt table view shows them, newest first.
class ExportHistoryModel final : public TextTableModel {
  public:
    // The model over `history`, which must outlive it.
    explicit ExportHistoryModel(ExportHistory& history, QObject* parent = nullptr)
        : TextTableModel(parent), history_(history) {}

    // Tells the view that the history was read again.
    void reset() {
        beginResetModel();
        endResetModel();
    }

  private:
    std::size_t rows() const override { return history_.rowCount(); }
    std::size_t columns() const override { return ExportHistory::kColumnCount; }
    std::string text(std::size_t row, std::size_t column) const override {
        return history_.text(row, column);
    }
    std::string title(std::size_t column) const override {
        return ExportHistory::kTitles.at(column);
    }
    bool numeric(std::size_t column) const override { return history_.numeric(column); }

    ExportHistory& history_;
};

}  // namespace vantrell
