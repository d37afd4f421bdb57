// A scene file of many materials whose reflectance shaders are owned by other
// materials, scattered: loading it resolves every owner by name.
#pragma once

#include <cstdint>
#include <string>

namespace kit {

// materials materials "M0", "M1", ...; the reflectance shader of material m
// is owned by material (m * 7919) mod materials.
std::string reflectanceOwnersScene(int64_t materials);

}  // namespace kit
