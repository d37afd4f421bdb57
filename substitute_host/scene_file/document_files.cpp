// The general table's entries that read and write scene files for the
// module: a hidden document to search or clean, a file opened for the user as
// File > Open opens it, and a document saved as a new file. No read installs
// the file's plug-ins: the registry is the application's.
#include "scene_file/document_files.h"

#include "core/fault.h"
#include "core/substitute_host.h"
#include "files/copy_files.h"
#include "kernel/host_paths.h"
#include "scene_file/scene_file.h"

namespace substitute {

void fillDocumentFileEntries(HostGeneralTable& ge) {
    ge.loadHiddenDocument = [](const HostPath* file, int32_t* result) -> HostDocument* {
        const std::filesystem::path& path = pathOf(file, "Ge.loadHiddenDocument");
        if (result == nullptr) fault("Ge.loadHiddenDocument", "null result");
        SubstituteHost& host = SubstituteHost::current();
        ++host.scene.hiddenLoads;
        // A document made for the module: a host object, which can be refused.
        if (!host.services.objectCreationAllowed()) {
            *result = HOST_DOCUMENT_OUT_OF_MEMORY;
            return nullptr;
        }
        const SceneLoad load = loadSceneFile(host.scene, path, host.scene.fileLimit, LoadAs::Hidden);
        *result = load.document ? HOST_DOCUMENT_LOADED : HOST_DOCUMENT_UNREADABLE;
        return load.document;
    };
    ge.freeHiddenDocument = [](HostDocument* document) {
        SubstituteHost& host = SubstituteHost::current();
        host.handles.check("Ge.freeHiddenDocument", document, HandleKind::Document);
        host.scene.freeHiddenDocument(document);
    };
    ge.openDocument = [](const HostPath* file) {
        const std::filesystem::path& path = pathOf(file, "Ge.openDocument");
        SubstituteHost& host = SubstituteHost::current();
        if (!host.services.objectCreationAllowed()) return false;
        const SceneLoad load = loadSceneFile(host.scene, path, host.scene.fileLimit, LoadAs::Opened);
        if (load.document != nullptr && host.scene.onOpenDocument) host.scene.onOpenDocument(path);
        return load.document != nullptr;
    };
    ge.saveDocument = [](const HostDocument* document, const HostPath* file) -> int32_t {
        SubstituteHost& host = SubstituteHost::current();
        host.handles.check("Ge.saveDocument", document, HandleKind::Document);
        const std::filesystem::path& path = pathOf(file, "Ge.saveDocument");
        if (path.empty()) fault("Ge.saveDocument", "the path is empty");
        // Half a change would be saved, and its undo group left open.
        if (document->undo.open) fault("Ge.saveDocument", "an undo group is open in the document");
        if (!host.services.saveAllowed()) return HOST_SAVE_FAILED;
        switch (writeNewFile(path, saveScene(host.scene, *document))) {
            case NewFile::Written: return HOST_SAVE_WRITTEN;
            case NewFile::Exists: return HOST_SAVE_EXISTS;
            case NewFile::Failed: break;
        }
        return HOST_SAVE_FAILED;
    };
}

}  // namespace substitute
