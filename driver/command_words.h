// The words the driver's commands take for the dialog's choices
// ("action list", "type posteffect"), which scripts and the validator write.
#pragma once

#include <cstdint>
#include <span>

#include "dialog_contract.h"

namespace driver {

struct ChoiceWord {
    const char* word;
    int32_t entry;  // the combo box entry it chooses
};

inline constexpr ChoiceWord actionWords[] = {{"identify", entryId(Action::Identify)},
                                             {"list", entryId(Action::GenerateList)},
                                             {"remove", entryId(Action::Remove)},
                                             {"find-missing", entryId(Action::FindMissing)},
                                             {"remove-missing", entryId(Action::RemoveMissing)},
                                             {"find-missing-folder", entryId(Action::FindMissingInFolder)},
                                             {"remove-missing-folder", entryId(Action::RemoveMissingInFolder)}};
inline constexpr ChoiceWord pluginTypeWords[] = {{"tag", entryId(PluginType::Tag)},
                                                 {"shader", entryId(PluginType::Shader)},
                                                 {"object", entryId(PluginType::Object)},
                                                 {"posteffect", entryId(PluginType::PostEffect)},
                                                 {"material", entryId(PluginType::Material)}};

// The word that chooses entry in words; "" when none does.
constexpr const char* wordFor(std::span<const ChoiceWord> words, int32_t entry) {
    for (const ChoiceWord& choice : words) {
        if (choice.entry == entry) return choice.word;
    }
    return "";
}
constexpr const char* wordFor(Action action) { return wordFor(actionWords, entryId(action)); }
constexpr const char* wordFor(PluginType type) { return wordFor(pluginTypeWords, entryId(type)); }

}  // namespace driver
