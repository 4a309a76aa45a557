#pragma once

#include <vector>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace vantrell {

// A read-only table view for many rows, as the program's windows show their tables: fixed row
// heights (no row is measured), whole rows selected one at a time, Tab leaving for the next
// control, the columns' widths given in twips rather than measured over every row.
QTableView* makeTableView(QWidget* parent, const char* name, const std::vector<int>& widthsTwips);

// Shows `model` in a view made by makeTableView, with the columns' widths it was given (a view
// forgets them with its model).
void setTableModel(QTableView* view, QAbstractItemModel* model);

}  // namespace vantrell
