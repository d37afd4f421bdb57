// The results list: one record per instance found, the store that holds
// them, and the tree-view row source that shows them.
#pragma once

#include <span>

#include "dialog_contract.h"
#include "host/host_vector.h"
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
    // Object, material and tag rows: the type id of the element listed (the
    // object carrying a tag) when listed, so a double-click can tell it from a
    // new one at its address.
    int32_t elementTypeId = 0;
    // Post effect rows of every render settings: the render settings that hold it.
    host::String renderSettingsName;
    // Shader rows: the PluginType of the element that owns the shader (a
    // material, object, tag or post effect); -1 in the not-found row. A tag's
    // row names its object in name and the tag in tagName, as a tag row does.
    int32_t ownerType = -1;
    // Missing plug-in rows: the plug-in and how many instances it left; 0
    // instances in the not-found row.
    PluginType pluginType = PluginType::Tag;
    int32_t pluginId = 0;
    int32_t instances = 0;
    // Their texts, made with the row, so that drawing never needs a new one.
    host::String pluginIdText;
    host::String instancesText;
    // A folder's rows: the scene file's path relative to the folder, as
    // shown, and its system path (empty for a row of no one file).
    host::String sceneFile;
    host::String scenePath;
    // A folder clean's rows: what became of the file's cleaned copy, and the
    // copy's system path when one was written.
    host::String cleanedCopy;
    host::String copyPath;
};

// The rows of the last run in row order, and the number the next row gets.
struct ResultStore {
    host::Vector<ResultRecord> records;
    int32_t rowCounter = 0;
};

// Appends the row of one instance of kind (a PluginType): listed is the
// element whose name the row shows (the object carrying a tag, the material
// holding a shader, the object, the video post or the material), second the
// tag of a tag row or the render settings of a post effect row that names them.
// False, with nothing appended, for another kind or when out of memory.
bool addResult(ResultStore& store, host::Element* listed, host::Element* second, PluginType kind, int32_t channel,
               bool inLayerShader);
// Appends the row of a shader found outside a material's channels, owned by
// owner (of ownerType, a material, object, tag or video post; a tag's object
// is object) or below one of its shaders; channel -1 outside the channels.
// False, with nothing appended, when out of memory.
bool addOwnedShaderRow(ResultStore& store, host::Element* owner, PluginType ownerType, host::Element* object,
                       int32_t channel, bool inLayerShader);
// Appends the row of one missing plug-in of type, named after its first
// instance, with the texts of its id and count (made beforehand). False,
// with nothing appended, when out of memory.
bool addMissingPluginRow(ResultStore& store, PluginType type, int32_t pluginId, int32_t instances,
                         const host::String& name, const host::String& pluginIdText, const host::String& instancesText);
// Appends the row that stands for a whole scene file or folder of a folder
// run: sceneFile (its relative path) with text in the "Plugin ID" column.
// False, with nothing appended, when out of memory.
bool addSceneFileRow(ResultStore& store, const host::String& sceneFile, const host::String& scenePath,
                     const host::String& text);
// Moves the rows of one scene file's missing plug-ins (found) to the end of
// store, under sceneFile, and empties found. False, with store as it was,
// when out of memory.
bool moveSceneFileRows(ResultStore& found, ResultStore& store, const host::String& sceneFile,
                       const host::String& scenePath);
// Destroys the records, last first; the capacity and rowCounter stay.
void clearResults(ResultStore& store);

class ResultTreeCallbacks;
// The list as the tree view shows it (list showing store), as the text of a
// CSV file (RFC 4180, UTF-8, CRLF): a line of the shown columns' headers,
// then a line per row of its cells as drawn. A field holding a comma, a
// double quote, a CR or an LF is quoted, its quotes doubled; a byte that is
// not UTF-8 becomes U+FFFD. False when out of memory.
bool listAsCsv(ResultTreeCallbacks& list, ResultStore& store, host::Vector<char>& csv);

// The tree view's rows are the records of the store it shows (its root), in
// row order.
class ResultTreeCallbacks : public host::TreeViewFunctions {
public:
    ResultTreeCallbacks();
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

    // Text of a cell / header for the current listPluginType (or the missing
    // plug-ins, or a folder's).
    host::String cellText(const ResultRecord& record, int32_t column) const;
    host::String headerText(int32_t column) const;
    host::String ownerCellText(const ResultRecord& record, int32_t column) const;
    // Makes the fixed texts of cells and headers that are still missing, as a
    // run begins: drawing never makes one, so a cell never loses its text.
    // False when the host refused one.
    bool makeListTexts();

    static constexpr int32_t listTextCount = 41;
    int32_t rowCursor = 0;
    host::String listTexts[listTextCount];
    PluginType listPluginType = PluginType::Tag;
    // Post effects of every render settings: a column names the render settings.
    bool listsRenderSettings = false;
    // Shaders of every element: columns name the owner and its type.
    bool listsOwners = false;
    bool identifyMode = false;
    // The rows are missing plug-ins, not instances of one; with listsFolder,
    // those of the scene files of a folder.
    bool listsMissing = false;
    bool listsFolder = false;
    // A folder's rows with the cleaned copies.
    bool listsCopies = false;
    // The columns the tree view shows, left to right.
    std::span<const int32_t> shownColumns;
    // What a double-click on a missing plug-in's row asks of the dialog
    // (owner): to list the instances of that plug-in.
    void (*listInstances)(void* owner, PluginType type, int32_t pluginId) = nullptr;
    // ... on a folder's row: to open its scene file, or its cleaned copy
    // (path; shown as the row shows it).
    void (*openSceneFile)(void* owner, const host::String& path, const host::String& shown) = nullptr;
    void* owner = nullptr;
};
