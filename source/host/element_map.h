// A number per key, for the bookkeeping of one walk: which elements are
// selected, on the current path or collected for removal (ElementMap), or
// what a plug-in id stands for (IdMap). Open addressing in host memory:
// nothing here throws, and a failed growth answers false. The empty key
// (null, 0) never has a value.
#pragma once

#include <cstdint>

#include "host/kernel.h"

template <class Key>
class KeyMap {
public:
    KeyMap() = default;
    KeyMap(const KeyMap&) = delete;
    KeyMap& operator=(const KeyMap&) = delete;
    ~KeyMap() { host::freeMemory(slots_); }

    // The value of key, or null when it has none.
    int32_t* find(Key key) {
        if (count_ == 0 || key == Key{}) return nullptr;
        Slot& slot = slots_[indexOf(key)];
        return slot.key == key ? &slot.value : nullptr;
    }
    // Sets the value of key (not the empty key); false when out of memory (nothing
    // changed).
    bool set(Key key, int32_t value) {
        if (int32_t* existing = find(key)) {
            *existing = value;
            return true;
        }
        if ((count_ + 1) * 4 > capacity_ * 3 && !grow()) return false;
        Slot& slot = slots_[indexOf(key)];
        slot.key = key;
        slot.value = value;
        ++count_;
        return true;
    }
    // Forgets key (backward-shift deletion keeps every probe chain whole).
    void erase(Key key) {
        if (find(key) == nullptr) return;
        uint64_t hole = indexOf(key);
        uint64_t next = (hole + 1) & mask();
        while (slots_[next].key != Key{}) {
            const uint64_t home = hashOf(slots_[next].key) & mask();
            // Move the entry back when the hole lies on its way from home.
            if (((next - home) & mask()) >= ((next - hole) & mask())) {
                slots_[hole] = slots_[next];
                hole = next;
            }
            next = (next + 1) & mask();
        }
        slots_[hole] = Slot{};
        --count_;
    }

private:
    struct Slot {
        Key key{};
        int32_t value = 0;
    };

    static uint64_t bitsOf(const void* key) { return reinterpret_cast<uintptr_t>(key); }
    static uint64_t bitsOf(uint64_t key) { return key; }
    static uint64_t hashOf(Key key) {
        uint64_t h = bitsOf(key);
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }
    uint64_t mask() const { return capacity_ - 1; }
    // The slot holding key, or the empty slot where it would go.
    uint64_t indexOf(Key key) const {
        uint64_t i = hashOf(key) & mask();
        while (slots_[i].key != Key{} && slots_[i].key != key) i = (i + 1) & mask();
        return i;
    }
    bool grow() {
        const uint64_t wanted = capacity_ == 0 ? 64 : capacity_ * 2;
        Slot* larger = static_cast<Slot*>(HOST_ALLOC_CLEAR(int64_t(wanted * sizeof(Slot))));
        if (larger == nullptr) return false;
        Slot* old = slots_;
        const uint64_t oldCapacity = capacity_;
        slots_ = larger;
        capacity_ = wanted;
        for (uint64_t i = 0; i < oldCapacity; ++i) {
            if (old[i].key != Key{}) slots_[indexOf(old[i].key)] = old[i];
        }
        host::freeMemory(old);
        return true;
    }

    Slot* slots_ = nullptr;
    uint64_t capacity_ = 0;
    uint64_t count_ = 0;
};

using ElementMap = KeyMap<const void*>;
using IdMap = KeyMap<uint64_t>;
