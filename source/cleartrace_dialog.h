// The tool dialog: the one window of the module. It keeps the options the
// user chose, what the last Identify found, and the results the tree view
// shows; a Process hands the search a request built from the controls.
#pragma once

#include <optional>

#include "dialog_contract.h"
#include "host/dialog.h"
#include "host/scene.h"
#include "results.h"
#include "search.h"

inline constexpr int32_t typeNameCount = 29;

class CleartraceDialog : public host::DialogBase {
public:
    CleartraceDialog();
    ~CleartraceDialog() override;

    // Window hooks (layout and commands).
    bool createLayout() override;
    bool initValues() override;
    bool command(int32_t id, const HostContainer* msg) override;
    bool askClose() override;
    int32_t message(const HostContainer* msg, HostContainer* result) override;

    // Tree view: the columns of the chosen type (or of the missing plug-ins),
    // and the store shown anew. False when the host could not make the
    // columns, which then stay as they were.
    bool setResultLayout();
    // The missing plug-ins' columns of listed (one of searchesMissing).
    bool setMissingLayout(Action listed);
    void refreshResults();
    // Whether the tree view has the columns a run of request lists under.
    bool showsColumnsOf(const SearchRequest& request) const;
    // The list as shown, into a CSV file the user chooses.
    void saveListAsCsv();

    // A double-click on a missing plug-in's row: the window set as if the
    // user had chosen Generate List of that plug-in, and processed.
    void listInstancesOf(PluginType type, int32_t pluginId);
    // A double-click on a folder's row: its scene file opened as the active
    // document (path; shown as the row shows it) and searched as Find
    // Missing Plugins searches.
    void findMissingInSceneFile(const host::String& path, const host::String& shown);

    // Name of a host plug-in kind.
    host::String typeNameFor(int32_t kind) const;

    PluginType pluginType = PluginType::Tag;
    int32_t scope = 0;
    Action action = Action::GenerateList;
    bool warnBeforeDeleting = true;
    bool keepLayerShaders = false;
    bool keepChildren = true;
    ResultTreeCallbacks treeFunctions;
    std::optional<PluginType> foundType;
    host::String foundName;
    host::String typeNames[typeNameCount];
    host::Gui* treeView = nullptr;
    ResultStore results;
};

// One run of request as Process makes it: the question before a removal, the
// search, what it found kept in dialog, its notices and the store shown.
SearchOutcome searchAndShow(CleartraceDialog& dialog, host::Document* document, const SearchRequest& request);

// Process: the controls read once into one request, and its run over
// document (the active one; none: nothing is done) or over a folder.
void process(CleartraceDialog& dialog, host::Document* document);
