#include "core/handles.h"

#include <bit>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "core/fault.h"

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
        case HandleKind::FileList: return "file list";
    }
    return "?";
}

size_t HandleRegistry::home(const void* handle) const {
    // Handles allocated one after the other differ only in their low address
    // bits; slots taken from those bits fill side by side into long runs, and
    // every probe through a run costs a step. The address is mixed first (the
    // MurmurHash3 finaliser: every input bit moves every output bit), and the
    // slot is the mix's top bits, so neighbours land far apart.
    uint64_t mixed = uint64_t(reinterpret_cast<uintptr_t>(handle));
    mixed ^= mixed >> 33;
    mixed *= 0xFF51AFD7ED558CCDull;
    mixed ^= mixed >> 33;
    mixed *= 0xC4CEB9FE1A85EC53ull;
    mixed ^= mixed >> 33;
    return size_t(mixed >> shift_);
}

size_t HandleRegistry::slotOf(const void* handle) const {
    const size_t mask = slots_.size() - 1;
    size_t i = home(handle);
    while (slots_[i].handle != nullptr && slots_[i].handle != handle) i = (i + 1) & mask;
    return i;
}

void HandleRegistry::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : 2 * old.size(), Slot{});
    shift_ = 64 - std::countr_zero(slots_.size());
    for (const Slot& slot : old) {
        if (slot.handle) slots_[slotOf(slot.handle)] = slot;
    }
}

void HandleRegistry::add(const void* handle, HandleKind kind) {
    if (handle == nullptr) return;
    if (lastChecked_.handle == handle) lastChecked_ = Slot{};
    if (2 * (used_ + 1) > slots_.size()) grow();
    Slot& slot = slots_[slotOf(handle)];
    if (slot.handle == nullptr) used_++;
    slot = {handle, kind};
}

void HandleRegistry::remove(const void* handle) {
    if (handle == nullptr || slots_.empty()) return;
    if (lastChecked_.handle == handle) lastChecked_ = Slot{};
    const size_t mask = slots_.size() - 1;
    size_t hole = slotOf(handle);
    if (slots_[hole].handle == nullptr) return;
    used_--;
    // Moves back each later entry of the run whose home does not lie between
    // the hole and it, so every entry stays reachable from its home.
    for (size_t next = (hole + 1) & mask; slots_[next].handle != nullptr; next = (next + 1) & mask) {
        const size_t wanted = home(slots_[next].handle);
        const bool between = hole <= next ? (hole < wanted && wanted <= next) : (hole < wanted || wanted <= next);
        if (between) continue;
        slots_[hole] = slots_[next];
        hole = next;
    }
    slots_[hole] = Slot{};
}

bool HandleRegistry::isLive(const void* handle, HandleKind kind) const {
    if (handle == nullptr || slots_.empty()) return false;
    const Slot& slot = slots_[slotOf(handle)];
    return slot.handle == handle && slot.kind == kind;
}

void HandleRegistry::check(const char* operation, const void* handle, HandleKind kind, bool nullable) const {
    if (handle == nullptr) {
        if (nullable) return;
        fault(operation, std::string("null ") + handleKindName(kind) + " handle");
    }
    if (lastChecked_.handle == handle && lastChecked_.kind == kind) return;
    const Slot* found = slots_.empty() ? nullptr : &slots_[slotOf(handle)];
    if (found && found->handle == nullptr) found = nullptr;
    if (found && found->kind == kind) {
        lastChecked_ = *found;
        return;
    }
    char address[32];
    // Not %p: its form differs between C runtimes, and fault texts should read alike on every target.
    std::snprintf(address, sizeof address, "0x%" PRIxPTR, reinterpret_cast<uintptr_t>(handle));
    if (found == nullptr) {
        fault(operation, std::string(handleKindName(kind)) + " handle " + address +
                             " is not live (freed, foreign or never handed out)");
    }
    fault(operation, std::string("handle ") + address + " is a handle of kind " + handleKindName(found->kind) +
                         ", not " + handleKindName(kind));
}

size_t HandleRegistry::count(HandleKind kind) const {
    size_t n = 0;
    for (const Slot& slot : slots_) n += slot.handle != nullptr && slot.kind == kind;
    return n;
}

}  // namespace substitute
