// The results list: one record per instance found, the store that holds
// them, and the tree-view row source that shows them.
#pragma once

#include "host/scene.h"
#include "host/tree_view.h"

// One found instance, or the not-found row.
struct ResultRecord {
    int32_t rowNumber = 0;
    host::String name;
    host::String tagName;
    host::Element* material = nullptr;
    host::Element* object = nullptr;
    int32_t channel = -1;
    bool inLayerShader = false;
    // Object rows: the object's type id when listed (the plug-in ID), so a
    // double-click can tell the listed object from a new one at its address.
    int32_t objectTypeId = 0;
};

// Column identifiers: up to four characters, most significant byte first.
inline constexpr int32_t COLUMN_NAME = 0x6E616D65;       // name
inline constexpr int32_t COLUMN_TAG = 0x746167;          // tag
inline constexpr int32_t COLUMN_CHANNEL = 0x6368616E;    // chan
inline constexpr int32_t COLUMN_IN_LAYER = 0x6C73;       // ls
inline constexpr int32_t COLUMN_KIND_USER = 0x75736572;  // user

inline constexpr int32_t channelCount = 15;

class CleartraceDialog;

// The tree view's rows are the records of the dialog's store, in row order.
class ResultTreeCallbacks : public host::TreeViewFunctions {
public:
    explicit ResultTreeCallbacks(CleartraceDialog& dialog);
    ~ResultTreeCallbacks() override;

    void* firstRow(void* root, void* user) override;
    void* nextRow(void* root, void* user, void* row) override;
    int32_t cellWidth(void* root, void* user, void* row, int32_t column, host::DrawArea* area) override;
    int32_t headerWidth(void* root, void* user, int32_t column, host::DrawArea* area) override;
    int32_t rowHeight(void* root, void* user, void* row, int32_t column, host::DrawArea* area) override;
    void drawCell(void* root, void* user, void* row, int32_t column, const host::DrawInfo* info,
                  int32_t backgroundColor) override;
    bool drawHeader(void* root, void* user, int32_t column, const host::DrawInfo* info) override;
    int64_t rowId(void* root, void* user, void* row) override;
    void contextMenu(void* root, void* user, void* row, int32_t column, HostContainer* menu) override;
    bool doubleClick(void* root, void* user, void* row, int32_t column, const HostMouseInfo* mouse) override;

    // Text of a cell / header for the current listPluginType.
    host::String cellText(const ResultRecord& record, int32_t column) const;
    host::String headerText(int32_t column) const;

    int32_t rowCursor = 0;
    host::String channelNames[channelCount];
    int32_t listPluginType = 0;
    bool identifyMode = false;

private:
    CleartraceDialog& dialog_;
};
