// A scene that a render engine left behind: materials of its type side by
// side with the application's own, some selected, holding shaders of the
// same id (one in a layer shader); and its video posts in the active render
// settings and in inactive ones before and after it.
#pragma once

#include <cstdint>
#include <string>

namespace kit {

// Materials "E1" (selected), "Plain", "E2", "E3" (selected), of which the E's
// are instances of id, each with a shader "c" of id in channel 0 and "x" of
// id in a layer shader in channel 5. Render settings "Preview" (video post
// "P1" of id), "Final" (active: "F1" of id, "AO", "F2" of id) and "Client"
// ("C1" of id).
std::string renderEngineScene(int32_t id);

}  // namespace kit
