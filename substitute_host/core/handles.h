// The registry of live handles. Every handle the host hands out is entered
// here with its kind; every handle the module passes in is looked up here
// before it is used, so a freed, foreign or unknown handle is caught instead
// of being dereferenced.
//
// A scene of a million elements holds a million handles, so the registry is
// one open-addressed table (linear probing, deletion by shifting back): no
// allocation per handle, and freeing a scene costs one probe per handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace substitute {

enum class HandleKind : uint8_t {
    String,
    Path,
    Document,
    Element,
    Channel,
    Layer,
    Value,
    Link,
    Container,
    Array,
    Bitmap,
    Resource,
    PluginRecord,
    Dialog,
    Gui,
    DrawArea,
    MouseInfo,
    FileList,
};

const char* handleKindName(HandleKind kind);

class HandleRegistry {
public:
    void add(const void* handle, HandleKind kind);
    void remove(const void* handle);
    bool isLive(const void* handle, HandleKind kind) const;
    // Faults (naming operation) unless handle is a live handle of this kind.
    // A null handle passes only when nullable.
    void check(const char* operation, const void* handle, HandleKind kind, bool nullable = false) const;
    size_t count(HandleKind kind) const;

private:
    struct Slot {
        const void* handle = nullptr;  // null: empty
        HandleKind kind{};
    };
    size_t home(const void* handle) const;
    // The slot holding handle, or the empty slot where it would go.
    size_t slotOf(const void* handle) const;
    void grow();

    std::vector<Slot> slots_;  // size a power of two, at most half full
    size_t used_ = 0;
    int shift_ = 64;  // 64 - log2(size)
    // The handle check passed last: a walk hands the same handle to the host
    // several times in a row (its type id, then its next), and each time
    // after the first costs no probe. Forgotten when that handle goes.
    mutable Slot lastChecked_;
};

}  // namespace substitute
