// A scene file deep in every direction the search walks, for the runs that
// refuse one host request after another.
#pragma once

#include <cstdint>
#include <string>

namespace kit {

// A chain of objects `depth` deep, each with an instance tag and every third
// an instance itself, selected now and then; a material whose layer shaders
// nest `depth` deep with an instance at every level; two video posts. The
// instances are of plug-in id.
std::string deepScene(int depth, int32_t id);

}  // namespace kit
