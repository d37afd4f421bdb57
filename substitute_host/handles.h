// The registry of live handles. Every handle the host hands out is entered
// here with its kind; every handle the module passes in is looked up here
// before it is used, so a freed, foreign or unknown handle is caught instead
// of being dereferenced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

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
    std::unordered_map<const void*, HandleKind> live_;
};

}  // namespace substitute
