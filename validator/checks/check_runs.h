// The checks themselves, one file each.
#pragma once

#include "framework/check.h"

namespace validator {

CheckResult checkLifecycle(const CheckSettings& settings, const CaseStarted& started);
CheckResult checkStaleRows(const CheckSettings& settings, const CaseStarted& started);
CheckResult checkRandomSessions(const CheckSettings& settings, const CaseStarted& started);
CheckResult checkAllocationSweep(const CheckSettings& settings, const CaseStarted& started);
CheckResult checkListing(const CheckSettings& settings, const CaseStarted& started);
CheckResult checkHostileScenes(const CheckSettings& settings, const CaseStarted& started);

}  // namespace validator
