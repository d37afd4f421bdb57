#include "ui/containers.h"

#include "core/substitute_host.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }
}  // namespace

HostContainer* makeContainer(int32_t id) {
    auto* container = new HostContainer{id, {}};
    handles().add(container, HandleKind::Container);
    return container;
}

void freeContainer(HostContainer* container) {
    if (container == nullptr) return;
    handles().remove(container);
    delete container;
}

HostContainer& containerOf(const HostContainer* container, const char* operation) {
    handles().check(operation, container, HandleKind::Container);
    // The registry holds only containers this host made, all of them mutable.
    return *const_cast<HostContainer*>(container);
}

const ContainerEntry* findEntry(const HostContainer& container, int32_t key) {
    for (const ContainerEntry& entry : container.entries) {
        if (entry.key == key) return &entry;
    }
    return nullptr;
}

void setEntry(HostContainer& container, int32_t key, int32_t value, bool isBool) {
    for (ContainerEntry& entry : container.entries) {
        if (entry.key == key) {
            entry = {key, value, isBool};
            return;
        }
    }
    container.entries.push_back({key, value, isBool});
}

int32_t int32Entry(const HostContainer& container, int32_t key, int32_t fallback) {
    const ContainerEntry* entry = findEntry(container, key);
    return entry ? entry->value : fallback;
}

bool boolEntry(const HostContainer& container, int32_t key, bool fallback) {
    const ContainerEntry* entry = findEntry(container, key);
    return entry ? entry->value != 0 : fallback;
}

std::string fourCharacterCode(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = char((uint32_t(code) >> shift) & 0xFF);
        if (c == 0 && text.empty()) continue;
        if (c < 0x20 || c > 0x7E) return std::to_string(code);
        text += c;
    }
    return text.empty() ? std::to_string(code) : text;
}

void fillContainerTable(HostContainerTable& table) {
    table.create = [](int32_t id) -> HostContainer* {
        if (!SubstituteHost::current().services.objectCreationAllowed()) return nullptr;
        return makeContainer(id);
    };
    table.free = [](HostContainer* container) {
        handles().check("Bc.free", container, HandleKind::Container, true);
        freeContainer(container);
    };
    table.id = [](const HostContainer* container) { return containerOf(container, "Bc.id").id; };
    table.setBool = [](HostContainer* container, int32_t key, bool value) {
        setEntry(containerOf(container, "Bc.setBool"), key, value ? 1 : 0, true);
        return true;
    };
    table.setInt32 = [](HostContainer* container, int32_t key, int32_t value) {
        setEntry(containerOf(container, "Bc.setInt32"), key, value, false);
        return true;
    };
    table.getInt32 = [](const HostContainer* container, int32_t key, int32_t fallback) {
        return int32Entry(containerOf(container, "Bc.getInt32"), key, fallback);
    };
    table.clear = [](HostContainer* container) { containerOf(container, "Bc.clear").entries.clear(); };
}

}  // namespace substitute
