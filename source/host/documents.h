// Scene files as documents: one read to be searched and never shown, and one
// opened for the user as File > Open opens it.
#pragma once

#include "kernel.h"
#include "path.h"

namespace host {

// A document read from a scene file that no one sees: owned, freed with this
// object. document() is null when the file could not be read, or (with
// outOfMemory()) when the host had no memory for it.
class HiddenDocument {
public:
    // file borrowed.
    explicit HiddenDocument(const HostPath* file) {
        if (file != nullptr) document_ = tables().t_C4DOS_Ge->loadHiddenDocument(file, &result_);
        if (document_ == nullptr && result_ == HOST_DOCUMENT_LOADED) result_ = HOST_DOCUMENT_OUT_OF_MEMORY;
    }
    HiddenDocument(const HiddenDocument&) = delete;
    HiddenDocument& operator=(const HiddenDocument&) = delete;
    ~HiddenDocument() { free(); }

    HostDocument* document() const { return document_; }
    bool outOfMemory() const { return result_ == HOST_DOCUMENT_OUT_OF_MEMORY; }
    // Ends the document now, before the next one is read.
    void free() {
        if (document_ != nullptr) tables().t_C4DOS_Ge->freeHiddenDocument(std::exchange(document_, nullptr));
    }

private:
    HostDocument* document_ = nullptr;
    int32_t result_ = HOST_DOCUMENT_LOADED;
};

// How a save went: written whole, refused as something is there already, or
// not written (nothing left at file).
enum class Saved : int32_t { Written = HOST_SAVE_WRITTEN, Exists = HOST_SAVE_EXISTS, Failed = HOST_SAVE_FAILED };

// Writes document (borrowed) as a new scene file at file, never over anything.
inline Saved saveDocument(const HostDocument* document, const Path& file) {
    if (document == nullptr || !file.valid()) return Saved::Failed;
    const int32_t answer = tables().t_C4DOS_Ge->saveDocument(document, file.handle());
    return answer == HOST_SAVE_WRITTEN ? Saved::Written : answer == HOST_SAVE_EXISTS ? Saved::Exists : Saved::Failed;
}

// Opens file as the active document; false when it could not be read.
inline bool openDocument(const Path& file) { return file.valid() && tables().t_C4DOS_Ge->openDocument(file.handle()); }

}  // namespace host
