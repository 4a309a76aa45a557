#pragma once

#include <vector>

class QTableView;
class QWidget;

namespace vantrell {

// A read-only table view for many rows, as the program's windows show their tables: fixed row
// heights (no row is measured), whole rows selected one at a time, Tab leaving for the next
// control, the columns' widths given in twips rather than measured over every row.
QTableView* makeTableView(QWidget* parent, const char* name, const std::vector<int>& widthsTwips);

}  // namespace vantrell
