#include "check_runs.h"

namespace validator {

CheckResult checkStaleRows(const CheckSettings&, const CaseStarted&) { return {Status::Skipped, "not built yet", {}}; }

}  // namespace validator
