#include "shell/qt/TableView.h"

#include <QHeaderView>
#include <QList>
#include <QTableView>
#include <QVariant>

#include "shell/qt/Twips.h"

namespace vantrell {

QTableView* makeTableView(QWidget* parent, const char* name, const std::vector<int>& widthsTwips) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);  // Tab leaves the table for the next control
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    QList<int> pixels;
    for (const int twips : widthsTwips) {
        pixels << twipsToPixels(twips, *parent);
    }
    view->setProperty("columnWidths", QVariant::fromValue(pixels));
    return view;
}

void setTableModel(QTableView* view, QAbstractItemModel* model) {
    view->setModel(model);
    const QList<int> pixels = view->property("columnWidths").value<QList<int>>();
    for (int c = 0; c < pixels.size(); ++c) {
        view->setColumnWidth(c, pixels[c]);
    }
}

}  // namespace vantrell
