#include "tree_view.h"

namespace host {
namespace {
TreeViewFunctions& self(void* object) { return *static_cast<TreeViewFunctions*>(object); }

const HostTreeViewCallbacks callbacks = {
    int32_t(sizeof(HostTreeViewCallbacks)),
    [](void* s, void* root, void* user) { return self(s).firstRow(root, user); },
    [](void* s, void* root, void* user, void* row) { return self(s).firstChild(root, user, row); },
    [](void* s, void* root, void* user, void* row) { return self(s).nextRow(root, user, row); },
    [](void* s, void* root, void* user, void* row) { return self(s).previousRow(root, user, row); },
    [](void* s, void* root, void* user, void* row, int32_t column, HostDrawArea* area) {
        return self(s).cellWidth(root, user, row, column, area);
    },
    [](void* s, void* root, void* user, int32_t column, HostDrawArea* area) {
        return self(s).headerWidth(root, user, column, area);
    },
    [](void* s, void* root, void* user, void* row, int32_t column, HostDrawArea* area) {
        return self(s).rowHeight(root, user, row, column, area);
    },
    [](void* s, void* root, void* user, void* row, int32_t column, const HostDrawInfo* info, int32_t background) {
        self(s).drawCell(root, user, row, column, info, background);
    },
    [](void* s, void* root, void* user, int32_t column, const HostDrawInfo* info) {
        return self(s).drawHeader(root, user, column, info);
    },
    [](void* s, void* root, void* user, void* row) { return self(s).isSelected(root, user, row); },
    [](void* s, void* root, void* user, void* row) { return self(s).isOpened(root, user, row); },
    [](void* s, void* root, void* user, void* row) -> HostString* {
        String name = self(s).rowName(root, user, row);
        // Hand the host its own reference.
        return name.handle() ? kernel().stringRetain(const_cast<HostString*>(name.handle())) : nullptr;
    },
    [](void* s, void* root, void* user, void* row) { return self(s).rowId(root, user, row); },
    [](void* s, void* root, void* user, void* row) { return self(s).dragType(root, user, row); },
    [](void* s, void* root, void* user, void* row, int32_t column, HostContainer* menu) {
        self(s).contextMenu(root, user, row, column, menu);
    },
    [](void* s, void* root, void* user, void* row, int32_t column, const HostMouseInfo* mouse) {
        return self(s).doubleClick(root, user, row, column, mouse);
    },
};
}  // namespace

const HostTreeViewCallbacks* TreeViewFunctions::table() { return &callbacks; }

}  // namespace host
