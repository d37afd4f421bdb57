#include "left_behind.h"

namespace driver {

std::string leakSummary(const substitute::KernelServices& services, std::string_view when, std::string_view separator) {
    // Paths are host objects too: the objects beside them are the rest.
    const int64_t otherObjects = services.liveObjects() - services.livePaths();
    if (services.liveBlocks() == 0 && services.liveStrings() == 0 && services.livePaths() == 0 && otherObjects == 0) {
        return {};
    }
    std::string report = "the module left " + std::to_string(services.liveBlocks()) + " allocations, " +
                         std::to_string(services.liveStrings()) + " strings, " + std::to_string(services.livePaths()) +
                         " paths and " + std::to_string(otherObjects) + " other host objects behind";
    report += when;
    for (const std::string& block : services.leakReport()) {
        report += separator;
        report += block;
    }
    return report;
}

}  // namespace driver
