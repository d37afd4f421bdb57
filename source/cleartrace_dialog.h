// The tool dialog: the one window of the module, and the context of every
// search: the options the user chose, what a run found, and the results.
#pragma once

#include "host/dialog.h"
#include "host/host_vector.h"
#include "host/scene.h"
#include "results.h"

enum PluginType : int32_t { Tag = 0, Shader = 1, Object = 2, PostEffect = 3 };
enum Action : int32_t { Identify = 0, GenerateList = 1, Remove = 2 };

// Control ids.
inline constexpr int32_t IDC_PROCESS = 1002;
inline constexpr int32_t IDC_CANCEL = 1003;
inline constexpr int32_t IDC_PLUGIN_ID = 1005;
inline constexpr int32_t IDM_ABOUT = 5001;
inline constexpr int32_t IDM_SHOW_HELP_FILE = 5002;
inline constexpr int32_t IDC_PLUGIN_TYPE = 5006;
inline constexpr int32_t IDC_SCOPE = 5007;
inline constexpr int32_t IDC_ACTION = 5008;
inline constexpr int32_t IDC_WARN_BEFORE_DELETING = 5009;
inline constexpr int32_t IDC_KEEP_LAYER_SHADERS = 5010;
inline constexpr int32_t IDC_TREE_VIEW = 10000;
inline constexpr int32_t IDC_ANONYMOUS = 10004;
// String resources.
inline constexpr int32_t IDS_DIALOG_TITLE = 10000;
inline constexpr int32_t IDS_ABOUT_TEXT = 10001;
inline constexpr int32_t IDS_HELP_TEXT = 10002;

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

    // Results store.
    bool addResult(host::Element* elementA, host::Element* elementB, int32_t kind, int32_t channel, bool inLayerShader);
    void clearResults();
    // Tree view.
    bool setResultLayout();
    void refreshResults();

    // Process drivers, one per plug-in type.
    void processTagPlugin(host::Document* document, int32_t action);
    void processShaderPlugin(host::Document* document, int32_t action);
    void processObjectPlugin(host::Document* document, int32_t action);
    void processVideoPostPlugin(host::Document* document, int32_t action);

    // Name of a host plug-in kind number.
    host::String typeNameFor(int32_t type) const;

    int32_t pluginType = Tag;
    int32_t scope = 0;
    int32_t action = GenerateList;
    bool warnBeforeDeleting = true;
    bool keepLayerShaders = false;
    ResultTreeCallbacks treeFunctions;
    int32_t rowCounter = 0;
    int32_t foundType = 0;
    host::String foundName;
    host::String typeNames[typeNameCount];
    host::Gui* treeView = nullptr;
    host::Vector<ResultRecord> results;
};
