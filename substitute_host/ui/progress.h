// What a long run shows and hears: the status bar (its text and its progress
// bar, every change recorded) and the Escape key, which the user presses once
// the module has asked for a given number of hidden documents.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/table_storage.h"

namespace substitute {

struct StatusChange {
    enum class Kind : uint8_t { Text, Bar, Cleared };
    Kind kind = Kind::Text;
    std::string text;     // Text
    int32_t percent = 0;  // Bar
};

struct StatusBar {
    std::string text;
    std::optional<int32_t> percent;  // none: no progress bar shown
    std::vector<StatusChange> changes;
    // Called with every change as it is made (the driver prints them).
    std::function<void(const StatusChange&)> onChange;
};

struct EscapeKey {
    // Held down once the module has asked for this many hidden documents
    // (each file of a folder run asks for one); none: never.
    std::optional<int64_t> pressedAfterLoads;
    // How often the module asked whether it is down.
    int64_t queries = 0;
};

void fillProgressEntries(HostGeneralTable& ge);

}  // namespace substitute
