#include "shell/qt/TableView.h"

#include <QHeaderView>
#include <QTableView>

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
    for (std::size_t c = 0; c < widthsTwips.size(); ++c) {
        view->setColumnWidth(static_cast<int>(c), twipsToPixels(widthsTwips[c], *parent));
    }
    return view;
}

}  // namespace vantrell
