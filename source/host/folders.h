// The folders and files a run makes and takes back: folders made with their
// parents, whether anything is at a path, and deleting a file or an empty
// folder.
#pragma once

#include "kernel.h"
#include "path.h"

namespace host {

// Makes folder and the folders above it that are missing; false when it
// could not (those made until then stay).
inline bool makeFolders(const Path& folder) {
    return folder.valid() && tables().t_C4DOS_Fi->makeFolders(folder.handle());
}
// Whether anything is at path, a link to nothing included.
inline bool exists(const Path& path) { return path.valid() && tables().t_C4DOS_Fi->exists(path.handle()); }
// Deletes the file or empty folder at path; false when nothing was deleted.
inline bool remove(const Path& path) { return path.valid() && tables().t_C4DOS_Fi->remove(path.handle()); }

}  // namespace host
