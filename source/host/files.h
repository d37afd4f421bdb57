// The host's files as a folder run and a saved list use them: the choosers
// of a folder and of a file to save, the scene files below a folder, and
// writing a file whole.
#pragma once

#include "kernel.h"
#include "path.h"

namespace host {

// The user's choice in the host's chooser of mode (HOST_SELECT_), starting
// from proposed (a save's default name): chosen when the user chose, neither
// chosen nor outOfMemory when the user cancelled; outOfMemory when the host
// could not make the chooser's title or path, and so showed no chooser.
struct Choice {
    Path path;
    bool chosen = false;
    bool outOfMemory = false;
};
inline Choice select(int32_t mode, const String& title, const Path* proposed = nullptr) {
    Choice choice;
    // A chooser without its title would ask for something it does not name.
    if (title.refused() || !choice.path.valid() || (proposed != nullptr && !choice.path.assign(*proposed))) {
        choice.outOfMemory = true;
        return choice;
    }
    choice.chosen = tables().t_C4DOS_Fn->select(choice.path.handle(), mode, title.handle());
    return choice;
}

// The scene files below a folder and the folders there that could not be
// listed, as the host found them (in no stated order), listed step by step
// by listMore; valid() is false when the host had no memory for the list.
class SceneFileList {
public:
    explicit SceneFileList(const Path& folder)
        : list_(folder.valid() ? fn().beginSceneFiles(folder.handle()) : nullptr) {}
    SceneFileList(const SceneFileList&) = delete;
    SceneFileList& operator=(const SceneFileList&) = delete;
    ~SceneFileList() {
        if (list_ != nullptr) fn().free(list_);
    }
    bool valid() const { return list_ != nullptr; }
    // Lists up to budget more entries: HOST_LISTING_MORE, HOST_LISTING_DONE
    // or HOST_LISTING_OUT_OF_MEMORY; not to be called after either of the last two.
    int32_t listMore(int32_t budget) { return fn().listMore(list_, budget); }
    int32_t count() const { return list_ ? fn().count(list_) : 0; }
    // HOST_LISTED_SCENE_FILE or HOST_LISTED_UNLISTABLE_FOLDER.
    int32_t kind(int32_t index) const { return fn().kind(list_, index); }
    String relativePath(int32_t index) const { return String::adopt(fn().relativePath(list_, index)); }
    // Borrowed from the list.
    const HostPath* path(int32_t index) const { return fn().path(list_, index); }

private:
    static const HostBrowseTable& fn() { return *tables().t_C4DOS_Bf; }
    HostFileList* list_;
};

// Replaces file with bytes whole (through a link, its target; with the
// replaced file's permissions); false when the host could not, leaving the
// file as it was.
inline bool writeWhole(const Path& file, const void* bytes, int64_t length) {
    return file.valid() && tables().t_C4DOS_Fi->writeWhole(file.handle(), bytes, length);
}

}  // namespace host
