#include "handles.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "fault.h"

namespace substitute {

const char* handleKindName(HandleKind kind) {
    switch (kind) {
        case HandleKind::String: return "string";
        case HandleKind::Path: return "path";
        case HandleKind::Document: return "document";
        case HandleKind::Element: return "element";
        case HandleKind::Channel: return "channel";
        case HandleKind::Layer: return "layer";
        case HandleKind::Value: return "value";
        case HandleKind::Link: return "link";
        case HandleKind::Container: return "container";
        case HandleKind::Array: return "array";
        case HandleKind::Bitmap: return "bitmap";
        case HandleKind::Resource: return "resource";
        case HandleKind::PluginRecord: return "plug-in record";
        case HandleKind::Dialog: return "dialog";
        case HandleKind::Gui: return "custom control";
        case HandleKind::DrawArea: return "drawing area";
        case HandleKind::MouseInfo: return "mouse information";
    }
    return "?";
}

void HandleRegistry::add(const void* handle, HandleKind kind) { live_[handle] = kind; }

void HandleRegistry::remove(const void* handle) { live_.erase(handle); }

bool HandleRegistry::isLive(const void* handle, HandleKind kind) const {
    auto found = live_.find(handle);
    return found != live_.end() && found->second == kind;
}

void HandleRegistry::check(const char* operation, const void* handle, HandleKind kind, bool nullable) const {
    if (handle == nullptr) {
        if (nullable) return;
        fault(operation, std::string("null ") + handleKindName(kind) + " handle");
    }
    auto found = live_.find(handle);
    if (found != live_.end() && found->second == kind) return;
    char address[32];
    // Not %p: its form differs between C runtimes, and fault texts should read alike on every target.
    std::snprintf(address, sizeof address, "0x%" PRIxPTR, reinterpret_cast<uintptr_t>(handle));
    if (found == live_.end()) {
        fault(operation, std::string(handleKindName(kind)) + " handle " + address +
                             " is not live (freed, foreign or never handed out)");
    }
    fault(operation, std::string("handle ") + address + " is a handle of kind " + handleKindName(found->second) +
                         ", not " + handleKindName(kind));
}

size_t HandleRegistry::count(HandleKind kind) const {
    size_t n = 0;
    for (const auto& entry : live_) n += entry.second == kind;
    return n;
}

}  // namespace substitute
