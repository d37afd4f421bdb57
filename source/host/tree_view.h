// The host's tree-view control (library HOST_LIBRARY_TREE_VIEW): the callback
// base class the module derives its row source from, the control's
// operations, and the drawing operations for cells.
#pragma once

#include "container.h"
#include "kernel.h"

namespace host {

using DrawArea = HostDrawArea;
using DrawInfo = HostDrawInfo;
using Gui = HostGui;

// The tree view asks its rows and cells through these; each default is the
// host's default answer.
class TreeViewFunctions {
public:
    TreeViewFunctions() = default;
    TreeViewFunctions(const TreeViewFunctions&) = delete;
    TreeViewFunctions& operator=(const TreeViewFunctions&) = delete;
    virtual ~TreeViewFunctions() = default;

    virtual void* firstRow(void* root, void* user) = 0;
    virtual void* firstChild(void*, void*, void*) { return nullptr; }
    virtual void* nextRow(void* root, void* user, void* row) = 0;
    virtual void* previousRow(void*, void*, void*) { return nullptr; }
    virtual int32_t cellWidth(void*, void*, void*, int32_t, DrawArea*) { return 0; }
    virtual int32_t headerWidth(void*, void*, int32_t, DrawArea*) { return 0; }
    virtual int32_t rowHeight(void*, void*, void*, int32_t, DrawArea*) { return 0; }
    virtual void drawCell(void*, void*, void*, int32_t, const DrawInfo*, int32_t) {}
    virtual bool drawHeader(void*, void*, int32_t, const DrawInfo*) { return false; }
    virtual bool isSelected(void*, void*, void*) { return false; }
    virtual bool isOpened(void*, void*, void*) { return false; }
    virtual String rowName(void*, void*, void*) { return String(); }
    virtual int64_t rowId(void*, void*, void*) { return 0; }
    virtual int32_t dragType(void*, void*, void*) { return -1; }
    virtual void contextMenu(void*, void*, void*, int32_t, HostContainer*) {}
    virtual bool doubleClick(void*, void*, void*, int32_t, const HostMouseInfo*) { return false; }

    // The C table whose entries call the methods above on self.
    static const HostTreeViewCallbacks* table();
};

// ---- The control --------------------------------------------------------------
// The tree-view library, or null when the host has none.
inline const HostTreeViewLibrary* treeViewLibrary() {
    const auto* library = static_cast<const HostTreeViewLibrary*>(tables().t_C4DOS_Lr->find(HOST_LIBRARY_TREE_VIEW));
    return hasEntries(library) ? library : nullptr;
}
// Shows root through functions (null root and functions detach).
inline void attachTreeView(Gui* treeView, void* root, TreeViewFunctions* functions, void* user) {
    if (const HostTreeViewLibrary* library = treeViewLibrary()) {
        library->attach(treeView, root, functions ? TreeViewFunctions::table() : nullptr, functions, user);
    }
}
inline bool setTreeViewLayout(Gui* treeView, int32_t columnCount, const Container& layout) {
    const HostTreeViewLibrary* library = treeViewLibrary();
    return library && library->setLayout(treeView, columnCount, layout.handle());
}
inline void refreshTreeView(Gui* treeView) {
    if (const HostTreeViewLibrary* library = treeViewLibrary()) library->refresh(treeView);
}
inline void treeViewLayoutChanged(Gui* treeView) {
    if (const HostTreeViewLibrary* library = treeViewLibrary()) library->layoutChanged(treeView);
}

// ---- Drawing in a cell -----------------------------------------------------------
inline int32_t textWidth(DrawArea* area, const String& text) {
    return tables().t_C4DOS_Cu->textWidth(area, text.handle());
}
inline int32_t fontHeight(DrawArea* area) { return tables().t_C4DOS_Cu->fontHeight(area); }
inline void fillRect(DrawArea* area, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    tables().t_C4DOS_Cu->fillRect(area, x1, y1, x2, y2);
}
inline void setDrawSetting(DrawArea* area, int32_t value) { tables().t_C4DOS_Cu->setDrawSetting(area, value); }
inline void setTextColors(DrawArea* area, int32_t text, int32_t background) {
    tables().t_C4DOS_Cu->setTextColors(area, text, background);
}
inline void drawText(DrawArea* area, const String& text, int32_t x, int32_t y, int32_t flags = 0) {
    tables().t_C4DOS_Cu->drawText(area, text.handle(), x, y, flags);
}

}  // namespace host
