// A fault of the module (a stale, foreign or wrong handle, a misuse of a host
// operation) stops the process at once with a message naming the operation.
// Callers rely on fault() not returning: they go on with checked records.
//
// By default the message goes to standard error and the process aborts. A
// program that reports faults itself (the driver) sets a reporter: fault()
// then hands it the message and ends the process with faultExitStatus,
// without running static destructors while the module is in the middle of a
// call. A fault raised by the reporter itself aborts.
#pragma once

#include <functional>
#include <string_view>
#include <utility>

namespace substitute {

inline constexpr int faultExitStatus = 3;

using FaultReporter = std::function<void(std::string_view operation, std::string_view message)>;

[[noreturn]] void fault(std::string_view operation, std::string_view message);

// Installs reporter (empty: none, the default behaviour) and answers the one
// it replaces.
FaultReporter setFaultReporter(FaultReporter reporter);

// Installs a reporter for its own lifetime, then puts the previous one back.
class FaultReporting {
public:
    explicit FaultReporting(FaultReporter reporter) : previous_(setFaultReporter(std::move(reporter))) {}
    ~FaultReporting() { setFaultReporter(std::move(previous_)); }
    FaultReporting(const FaultReporting&) = delete;
    FaultReporting& operator=(const FaultReporting&) = delete;

private:
    FaultReporter previous_;
};

}  // namespace substitute
