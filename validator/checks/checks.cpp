#include "checks/checks.h"

#include "checks/check_runs.h"

namespace validator {

const std::vector<Check>& allChecks() {
    static const std::vector<Check> checks = {
        {"lifecycle", 1, "the module's messages in order and out of order, with a bad host; nothing leaked",
         checkLifecycle},
        {"stale-rows", 1,
         "a listed row double-clicked after its element was deleted, undone, redone or reopened, or its file or "
         "cleaned copy changed",
         checkStaleRows},
        {"random-sessions", 1,
         "seeded random scenes, folders and sessions, children kept and not; every removal undone and redone exactly, "
         "its objects as they must be left; every folder clean's copies as Remove Missing Plugins and a save make "
         "them, the folders as they must be left",
         checkRandomSessions},
        {"allocation-sweep", 2,
         "every allocation, host-object and string creation of a session, and every save, folder and removal of a "
         "folder clean, refused in turn: a truthful run",
         checkAllocationSweep},
        {"listing", 2, "a long results list is drawn with host calls and CPU time linear in its rows", checkListing},
        {"hostile-scenes", 3,
         "deep hierarchies, deep layer shaders, damaged links (their missing plug-ins removed too) and a million rows",
         checkHostileScenes},
    };
    return checks;
}

const Check* findCheck(std::string_view name) {
    for (const Check& check : allChecks()) {
        if (name == check.name) return &check;
    }
    return nullptr;
}

}  // namespace validator
