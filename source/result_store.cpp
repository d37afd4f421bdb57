// The result store: the rows a run appends, numbered in row order, and their
// clearing.
#include "results.h"

namespace {
// A row that cannot be stored leaves the numbering where it was, so the list
// keeps every row it did store.
bool appendRow(ResultStore& store, ResultRecord&& record) {
    if (!store.records.push(std::move(record))) return false;
    ++store.rowCounter;
    return true;
}
}  // namespace

bool addResult(ResultStore& store, host::Element* listed, host::Element* second, PluginType kind, int32_t channel,
               bool inLayerShader) {
    if (!isPluginType(kind)) return false;
    ResultRecord record;  // fields a kind does not use keep their empty defaults
    record.rowNumber = store.rowCounter;
    record.name = host::name(listed);
    if (record.name.refused()) return false;
    if (kind == PluginType::Tag) {
        record.tagName = host::name(second);
        if (record.tagName.refused()) return false;
        record.object = listed;
        record.elementTypeId = host::typeId(listed);
    } else if (kind == PluginType::Shader) {
        record.material = listed;
        record.channel = channel;
        record.inLayerShader = inLayerShader;
        record.ownerType = entryId(PluginType::Material);
        record.elementTypeId = host::typeId(listed);
    } else if (kind == PluginType::Object) {
        record.object = listed;
        record.elementTypeId = host::typeId(listed);
    } else if (kind == PluginType::Material) {
        record.material = listed;
        record.elementTypeId = host::typeId(listed);
    } else if (second != nullptr) {
        record.renderSettingsName = host::name(second);
        if (record.renderSettingsName.refused()) return false;
    }
    return appendRow(store, std::move(record));
}

bool addOwnedShaderRow(ResultStore& store, host::Element* owner, PluginType ownerType, host::Element* object,
                       int32_t channel, bool inLayerShader) {
    ResultRecord record;
    record.rowNumber = store.rowCounter;
    record.channel = channel;
    record.inLayerShader = inLayerShader;
    record.ownerType = entryId(ownerType);
    // What a row of the owner's type holds, so a double-click does what that one does.
    host::Element* listed = ownerType == PluginType::Tag ? object : owner;
    record.name = host::name(listed);
    if (record.name.refused()) return false;
    record.elementTypeId = host::typeId(listed);
    if (ownerType == PluginType::Tag) {
        record.tagName = host::name(owner);
        if (record.tagName.refused()) return false;
    }
    if (ownerType == PluginType::Material) record.material = owner;
    if (ownerType == PluginType::Object || ownerType == PluginType::Tag) record.object = listed;
    return appendRow(store, std::move(record));
}

bool addMissingPluginRow(ResultStore& store, PluginType type, int32_t pluginId, int32_t instances,
                         const host::String& name, const host::String& pluginIdText,
                         const host::String& instancesText) {
    ResultRecord record;
    record.pluginIdText = pluginIdText;
    record.instancesText = instancesText;
    record.rowNumber = store.rowCounter;
    record.name = name;
    record.pluginType = type;
    record.pluginId = pluginId;
    record.instances = instances;
    return appendRow(store, std::move(record));
}

bool addSceneFileRow(ResultStore& store, const host::String& sceneFile, const host::String& scenePath,
                     const host::String& text) {
    ResultRecord record;
    record.rowNumber = store.rowCounter;
    record.name = text;
    record.sceneFile = sceneFile;
    record.scenePath = scenePath;
    return appendRow(store, std::move(record));
}

bool moveSceneFileRows(ResultStore& found, ResultStore& store, const host::String& sceneFile,
                       const host::String& scenePath) {
    // Room first: once it is there, no row of the file can fail to follow.
    const int64_t rows = int64_t(store.records.size()) + found.records.size();
    if (rows > INT32_MAX || !store.records.reserve(int32_t(rows))) return false;
    for (ResultRecord& record : found.records) {
        record.rowNumber = store.rowCounter++;
        record.sceneFile = sceneFile;
        record.scenePath = scenePath;
        store.records.push(std::move(record));
    }
    clearResults(found);
    return true;
}

void clearResults(ResultStore& store) { store.records.clear(); }
