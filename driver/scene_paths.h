// How the user names scene elements: an object by the path of names from the
// top of the hierarchy ("/Group/Cube"), a material by "mat:" and its name
// ("mat:Stone"). Every element has a path, whatever its name:
//   - in a name, \/ stands for '/', \[ for '[', \\ for '\', \t \n \r for
//     those control characters and \xNN for any other byte (control
//     characters and bytes that are not UTF-8 are always written so);
//   - "[N]" after a name means the N-th (from 1) of the siblings with that
//     name ("/Group/Cube[2]"); without it the first is meant;
//   - an empty name is an empty piece ("/" is a top-level object named "").
//
// The scene operations a user does with them (select, deselect, delete).
// Each answers "" when done, else why it was refused, having changed nothing.
#pragma once

#include <string>
#include <vector>

#include "scene/scene.h"

namespace driver {

// The element named, or null with the reason in error.
HostElement* findByPath(const HostDocument& document, const std::string& path, std::string& error);
// The name of an object or material as findByPath reads it.
std::string pathOf(const HostElement& element);
// "object" or "material".
std::string kindWord(const HostElement& element);

// Selects the named elements, replacing the selection of their kind.
std::string selectElements(HostDocument& document, const std::vector<std::string>& paths);
// Deselects every object and material.
void deselectAll(HostDocument& document);
// Deletes the element and what is below it as one undoable step.
std::string deleteElement(substitute::Scene& scene, HostDocument& document, const std::string& path);

}  // namespace driver
