#include "framework/drawn_list.h"

#include "dialog_contract.h"
#include "ui/dialogs.h"

namespace validator {

HostGui* resultsTreeView(Harness& harness) {
    const HostDialog* window = harness.host().ui.findDialog(CLEARTRACE_COMMAND_ID);
    return window == nullptr ? nullptr : substitute::treeViewIn(*window, IDC_TREE_VIEW);
}

const substitute::Drawing* lastDrawnList(Harness& harness) {
    const HostGui* treeView = resultsTreeView(harness);
    return treeView == nullptr ? nullptr : &treeView->drawing;
}

std::string firstColumnText(const substitute::Drawing& drawing, size_t row) {
    // Cells are stored header first, then row by row, one per column.
    const size_t columns = drawing.columns.size();
    const size_t headerCells = drawing.headerHeight > 0 ? columns : 0;
    const size_t index = headerCells + row * columns;
    if (columns == 0 || index >= drawing.cells.size()) return {};
    for (const substitute::DrawOperation& operation : drawing.cells[index].operations) {
        if (operation.kind == substitute::DrawKind::Text) return operation.text;
    }
    return {};
}

}  // namespace validator
