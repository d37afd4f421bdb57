// The plug-in command id as the tests expect to find it: written here, apart
// from the dialog's contract, so that a test notices when the module's id moves.
#pragma once

#include <cstdint>

namespace kit {

inline constexpr int32_t expectedCommandId = 1066888;

}  // namespace kit
