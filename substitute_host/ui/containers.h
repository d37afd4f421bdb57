// Containers: an id plus key -> value entries, in insertion order (the tree
// view's column layout depends on that order). The host sends its dialog
// messages in them and the module hands settings and layouts over in them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/host_tables.h"

namespace substitute {

struct ContainerEntry {
    int32_t key = 0;
    int32_t value = 0;
    bool isBool = false;
};

}  // namespace substitute

struct HostContainer {
    int32_t id = 0;
    std::vector<substitute::ContainerEntry> entries;
};

namespace substitute {

// A new live container handle (entered in the handle registry).
HostContainer* makeContainer(int32_t id);
void freeContainer(HostContainer* container);
struct ContainerDeleter {
    void operator()(HostContainer* container) const { freeContainer(container); }
};
// A container the host itself owns while it talks to the module.
using OwnedContainer = std::unique_ptr<HostContainer, ContainerDeleter>;
inline OwnedContainer ownContainer(int32_t id) { return OwnedContainer(makeContainer(id)); }

// The container behind a handle the module handed in (checked).
HostContainer& containerOf(const HostContainer* container, const char* operation);

const ContainerEntry* findEntry(const HostContainer& container, int32_t key);
void setEntry(HostContainer& container, int32_t key, int32_t value, bool isBool);
int32_t int32Entry(const HostContainer& container, int32_t key, int32_t fallback);
bool boolEntry(const HostContainer& container, int32_t key, bool fallback);

// A four-character code as text ("bACT"), or the number when it is not one.
std::string fourCharacterCode(int32_t code);

void fillContainerTable(HostContainerTable& table);

}  // namespace substitute
