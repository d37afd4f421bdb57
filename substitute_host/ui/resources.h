// The module's resource: a string table read from strings.txt in the
// resource folder. Format, one entry a line:
//     # a comment line; blank lines are ignored too
//     10000 "Cleartrace"
// a decimal int32 id, spaces, then a double-quoted text in which \n, \" and
// \\ stand for a line break, a quote and a backslash.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "host/host_tables.h"

struct HostResource {
    std::filesystem::path folder;
    std::map<int32_t, std::string> strings;
};

namespace substitute {

inline constexpr const char* stringTableFile = "strings.txt";

// Parses a string table into strings; on a malformed line answers an error
// "<file>:<line>: <what is wrong>" and leaves strings as it was.
std::string parseStringTable(std::string_view content, const std::string& fileName,
                             std::map<int32_t, std::string>& strings);

// What the module handed back with a released resource.
struct FreedResource {
    std::filesystem::path folder;
    bool initialised = false;
};

void fillResourceEntries(HostGeneralTable& table);

}  // namespace substitute
