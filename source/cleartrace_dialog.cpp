#include "cleartrace_dialog.h"

namespace {
// Names of the host plug-in kinds 0 to 21, then 32 to 38.
constexpr const char* pluginKindNames[typeNameCount] = {
    "Any",          "Shader",        "Material",        "Dummy",          "Command",           "Object",
    "Tag",          "Bitmap Filter", "VideoPost",       "Tool",           "Scene Hook",        "Node",
    "Library",      "Bitmap Loader", "Bitmap Saver",    "Scene Loader",   "Scene Saver",       "Core Message",
    "Custom GUI",   "Custom Datatype", "Resource Datatype", "Manager Info", "CTrack",          "Falloff",
    "Vmap Transfer", "Preferences",  "Snap",            "Field Layer",    "Description",
};
}  // namespace

CleartraceDialog::CleartraceDialog() : treeFunctions(*this) {
    for (int32_t i = 0; i < typeNameCount; ++i) typeNames[i] = host::String(pluginKindNames[i]);
}

CleartraceDialog::~CleartraceDialog() {
    // Records first, then the names; the tree-view callbacks and the host
    // dialog go with the members and the base.
    results.clear();
    for (host::String& name : typeNames) name.release();
    foundName.release();
}

host::String CleartraceDialog::typeNameFor(int32_t type) const {
    const int32_t entry = type <= 21 ? type : type - 10;
    if (entry < 0 || entry >= typeNameCount) return host::String("Unknown");
    return typeNames[entry];
}

// ---- Window hooks -------------------------------------------------------------
bool CleartraceDialog::createLayout() { return true; }
bool CleartraceDialog::initValues() { return defaultValues(); }
bool CleartraceDialog::command(int32_t, const HostContainer*) { return true; }
bool CleartraceDialog::askClose() {
    clearResults();
    return false;
}
int32_t CleartraceDialog::message(const HostContainer* msg, HostContainer* result) {
    return DialogBase::message(msg, result);
}
