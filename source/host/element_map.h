// A number per scene element, for the bookkeeping of one walk: which elements
// are selected, on the current path or collected for removal. Open addressing
// in host memory: nothing here throws, and a failed growth answers false.
#pragma once

#include <cstdint>

#include "host/kernel.h"

class ElementMap {
public:
    ElementMap() = default;
    ElementMap(const ElementMap&) = delete;
    ElementMap& operator=(const ElementMap&) = delete;
    ~ElementMap() { host::freeMemory(slots_); }

    // The value of element, or null when it has none (null never has one).
    int32_t* find(const void* element) {
        if (count_ == 0 || element == nullptr) return nullptr;
        Slot& slot = slots_[indexOf(element)];
        return slot.key == element ? &slot.value : nullptr;
    }
    // Sets the value of element (not null); false when out of memory (nothing
    // changed).
    bool set(const void* element, int32_t value) {
        if (int32_t* existing = find(element)) {
            *existing = value;
            return true;
        }
        if ((count_ + 1) * 4 > capacity_ * 3 && !grow()) return false;
        Slot& slot = slots_[indexOf(element)];
        slot.key = element;
        slot.value = value;
        ++count_;
        return true;
    }
    // Forgets element (backward-shift deletion keeps every probe chain whole).
    void erase(const void* element) {
        if (find(element) == nullptr) return;
        uint64_t hole = indexOf(element);
        uint64_t next = (hole + 1) & mask();
        while (slots_[next].key != nullptr) {
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
        const void* key = nullptr;
        int32_t value = 0;
    };

    static uint64_t hashOf(const void* element) {
        uint64_t h = reinterpret_cast<uintptr_t>(element);
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        return h;
    }
    uint64_t mask() const { return capacity_ - 1; }
    // The slot holding element, or the empty slot where it would go.
    uint64_t indexOf(const void* element) const {
        uint64_t i = hashOf(element) & mask();
        while (slots_[i].key != nullptr && slots_[i].key != element) i = (i + 1) & mask();
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
            if (old[i].key != nullptr) slots_[indexOf(old[i].key)] = old[i];
        }
        host::freeMemory(old);
        return true;
    }

    Slot* slots_ = nullptr;
    uint64_t capacity_ = 0;
    uint64_t count_ = 0;
};
