// What must hold for any input, checked by the fuzz targets (under libFuzzer)
// and by the corpus tests (every input kept in fuzz/corpus). A violation
// aborts, so the fuzzer keeps the input that caused it.
#pragma once

#include <string_view>

namespace fuzzing {

// Loading never crashes; a scene that loads saves to a text that loads and
// saves again to the same bytes; its printed lines hold no control characters.
void checkSceneText(std::string_view text);

// Reading commands never crashes; each command read, written back with its
// quoting, reads as the same words; every word taken as an element path
// either names nothing or names an element whose printed path names it again.
void checkScriptText(std::string_view text);

}  // namespace fuzzing
