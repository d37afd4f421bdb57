// Scene files whose render settings come in a given order, each holding one
// video post: so that a walk that strays from the active render settings into
// the ones before or after it finds what it must not.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kit {

// One render settings per letter of order, in that order:
//   'A' active,   its video post an instance of plug-in id
//   'I' inactive, its video post an instance of plug-in id
//   'a' active,   its video post of another plug-in
//   'i' inactive, its video post of another plug-in
// The settings at place n is named "Settings n", its video post "Post n".
std::string renderSettingsScene(std::string_view order, int32_t id);

}  // namespace kit
