// Kernel services: memory, strings, paths, console, configuration, folders.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/table_storage.h"
#include "host/host_kernel.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace substitute {

struct ConsoleLine {
    std::string logger;
    int32_t level;
    std::string text;
    std::string file;
    int32_t line;
};

struct ConfigSwitch {
    bool value = false;
    bool defaultValue = false;
    std::string help;
    bool registered = false;  // false: only set by a test so far
};

// Fails the nth request from now (1: the next one); 0 fails none. Counts
// every request, the refused ones included.
class FailureCountdown {
public:
    void failNth(int64_t n) { remaining_ = n; }
    // False when this request is the one to fail.
    bool allow() {
        ++requested_;
        return remaining_ <= 0 || --remaining_ != 0;
    }
    // Whether the request to fail is still to come.
    bool pending() const { return remaining_ > 0; }
    int64_t requested() const { return requested_; }

private:
    int64_t remaining_ = 0;
    int64_t requested_ = 0;
};

class KernelServices {
public:
    void fill(HostKernel& kernel, TableStorage& tables);

    // ---- Memory ----------------------------------------------------------------
    void failAllocation(int64_t n) { allocations_.failNth(n); }
    // Creation of host objects on the module's request (arrays, containers,
    // values, paths, bitmaps ...): every area asks objectCreationAllowed().
    void failObjectCreation(int64_t n) { objectCreations_.failNth(n); }
    bool objectCreationAllowed() { return objectCreations_.allow(); }
    // Creation of host strings handed to the module as new (newModuleString);
    // a refused one answers null, the empty string.
    void failStringCreation(int64_t n) { stringCreations_.failNth(n); }
    bool stringCreationAllowed() { return stringCreations_.allow(); }
    // Undo requests of the module (start of a group, a step, end of a group);
    // a refused one answers false and records nothing.
    void failUndo(int64_t n) { undoRequests_.failNth(n); }
    bool undoAllowed() { return undoRequests_.allow(); }
    // The file system's work for the module: documents saved (Ge.saveDocument),
    // folders made (Fi.makeFolders) and paths removed (Fi.remove); a refused
    // request answers as a full or read-only disk would and changes nothing.
    void failSave(int64_t n) { saves_.failNth(n); }
    bool saveAllowed() { return saves_.allow(); }
    void failFolderCreation(int64_t n) { folderCreations_.failNth(n); }
    bool folderCreationAllowed() { return folderCreations_.allow(); }
    void failRemoval(int64_t n) { removals_.failNth(n); }
    bool removalAllowed() { return removals_.allow(); }
    // Whether the failure asked for is still to come (the requests stopped before it).
    bool allocationFailurePending() const { return allocations_.pending(); }
    bool objectCreationFailurePending() const { return objectCreations_.pending(); }
    bool stringCreationFailurePending() const { return stringCreations_.pending(); }
    bool undoFailurePending() const { return undoRequests_.pending(); }
    bool saveFailurePending() const { return saves_.pending(); }
    bool folderCreationFailurePending() const { return folderCreations_.pending(); }
    bool removalFailurePending() const { return removals_.pending(); }
    // Requests since the host was made, refused ones included: a sweep fails
    // each of 1..count in turn.
    int64_t allocationsRequested() const { return allocations_.requested(); }
    int64_t objectCreationsRequested() const { return objectCreations_.requested(); }
    int64_t stringCreationsRequested() const { return stringCreations_.requested(); }
    int64_t undoRequests() const { return undoRequests_.requested(); }
    int64_t savesRequested() const { return saves_.requested(); }
    int64_t folderCreationsRequested() const { return folderCreations_.requested(); }
    int64_t removalsRequested() const { return removals_.requested(); }
    int64_t liveBlocks() const { return int64_t(blocks_.size()); }
    // One line per live block: "file:line (bytes bytes)".
    std::vector<std::string> leakReport() const;
    // Strings and paths made since this host was made and still alive: one
    // leaked by an earlier host in the same process is not this one's.
    int64_t liveStrings() const;
    int64_t livePaths() const;
    // Live host objects the module asked for (paths, values, containers,
    // arrays, bitmaps, resources, file lists, hidden documents), for leak checks.
    int64_t liveObjects() const;

    // ---- Console -----------------------------------------------------------------
    const std::vector<ConsoleLine>& console() const { return console_; }
    // Called with every line as it is written (the driver prints them).
    std::function<void(const ConsoleLine&)> onConsoleLine;
    int32_t debugBreaks() const { return debugBreaks_; }

    // ---- Configuration ---------------------------------------------------------------
    // Sets a switch as the user would; kept when the module registers it later.
    void setSwitch(const std::string& name, bool value);
    const std::map<std::string, ConfigSwitch>& switches() const { return switches_; }

    // ---- Application folders ----------------------------------------------------------
    std::filesystem::path startupFolder{"/opt/maxon/cinema4d-2026"};
    std::filesystem::path frameworkFolder{"/opt/maxon/cinema4d-2026/frameworks/cinema.framework"};

private:
    int64_t stringsBefore_ = substitute::liveStrings();
    int64_t pathsBefore_ = substitute::livePaths();
    struct Block {
        int64_t bytes;
        std::string file;
        int32_t line;
    };
    void* allocate(int64_t bytes, bool clear, const char* file, int32_t line);
    void freeMemory(void* block);
    void log(const char* logger, int32_t level, const HostString* text, const char* file, int32_t line);
    bool registerSwitch(const char* name, bool defaultValue, const char* help);
    bool switchValue(const char* name, bool fallback) const;
    HostPath* applicationUrl(int32_t kind, const char* frameworkId) const;

    FailureCountdown allocations_;
    FailureCountdown objectCreations_;
    FailureCountdown stringCreations_;
    FailureCountdown undoRequests_;
    FailureCountdown saves_;
    FailureCountdown folderCreations_;
    FailureCountdown removals_;
    std::unordered_map<void*, Block> blocks_;
    std::vector<ConsoleLine> console_;
    int32_t debugBreaks_ = 0;
    std::map<std::string, ConfigSwitch> switches_;
};

}  // namespace substitute
