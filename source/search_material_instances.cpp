// The walk of the Material type: the materials themselves, whose type id is
// that of the plug-in that made them (a render engine's material).
#include "search_run.h"

void walkMaterialInstances(SearchRun& run, host::Element* material, int32_t scope) {
    if (seeksNothing(run)) return;
    for (host::Element* current = material; current != nullptr && !run.outcome.outOfMemory;
         current = scope == 0 ? host::next(current) : nullptr) {
        if (!sought(run, PluginType::Material, current, host::typeId(current))) continue;
        meetInstance(run, run.request.action, current, PluginType::Material, current, nullptr, 0, false);
        if (run.request.action == Action::Identify) break;  // the first in document order decides
    }
    walkEnded(run);
}
