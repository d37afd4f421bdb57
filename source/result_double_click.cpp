// A double-click on a row: selects the listed object or material when the
// active document still holds it, asks for a missing plug-in's instances, or
// for a folder's scene file (or its cleaned copy) to be opened.
#include "result_rows.h"

namespace {
// The double-click tests a listed element against the active document by
// address first, so a handle whose element was freed is never passed to the
// host; then by what the row says of it, as the host may have reused the
// address of a freed element for a new one.
bool documentHasObject(const host::Document* document, const host::Element* wanted) {
    host::Element* object = host::firstObject(document);
    while (object != nullptr) {
        if (object == wanted) return true;
        if (host::Element* child = host::firstChild(object)) {
            object = child;
            continue;
        }
        while (object != nullptr && host::next(object) == nullptr) object = host::parent(object);
        if (object != nullptr) object = host::next(object);
    }
    return false;
}

bool stillDescribes(const ResultRecord& record, const host::Element* element, bool typed) {
    if (!(host::name(element) == record.name)) return false;
    return !typed || host::typeId(element) == record.elementTypeId;
}

bool documentHasMaterial(const host::Document* document, const host::Element* wanted) {
    for (host::Element* material = host::firstMaterial(document); material != nullptr;
         material = host::next(material)) {
        if (material == wanted) return true;
    }
    return false;
}
}  // namespace

bool ResultTreeCallbacks::doubleClick(void* root, void*, void* row, int32_t, const HostMouseInfo*) {
    const ResultRecord* record = recordAt(root, row);
    if (listsFolder) {
        // A folder's rows need no active document: the file becomes one. The
        // record goes with the list the dialog makes next: copied first.
        if (record != nullptr && !record->scenePath.empty() && openSceneFile != nullptr) {
            // The cleaned copy when one was written, else the original.
            const host::String path = record->copyPath.empty() ? record->scenePath : record->copyPath;
            const host::String shown = record->sceneFile;
            openSceneFile(owner, path, shown);
        }
        return true;
    }
    host::Document* document = host::activeDocument();
    if (document == nullptr) return true;
    if (listsMissing) {
        // The record goes with the list the dialog makes next: copied first.
        if (record != nullptr && record->instances > 0 && listInstances != nullptr)
            listInstances(owner, record->pluginType, record->pluginId);
    } else if (record != nullptr) {
        // A shader of every element's row does what a row of its owner's type does.
        const bool owned = listsOwners && listPluginType == PluginType::Shader;
        const auto rowType = owned ? PluginType(record->ownerType) : listPluginType;
        const bool listsObjects = rowType == PluginType::Tag || rowType == PluginType::Object;
        if (listsObjects && record->object != nullptr && documentHasObject(document, record->object) &&
            stillDescribes(*record, record->object, true)) {
            host::setActiveObject(document, record->object, HOST_SELECT_ONLY);
        } else if ((rowType == PluginType::Shader || rowType == PluginType::Material) && record->material != nullptr &&
                   documentHasMaterial(document, record->material) &&
                   stillDescribes(*record, record->material, rowType == PluginType::Material)) {
            host::setActiveMaterial(document, record->material, HOST_SELECT_ONLY);
        }
    }
    host::sceneChanged(HOST_SCENE_CHANGED_REDRAW);
    return true;
}
