#include "ui/file_choosers.h"

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace substitute {

void fillChooserEntry(HostPathTable& table) {
    table.select = [](HostPath* path, int32_t mode, const HostString* title) {
        const std::filesystem::path proposed = pathOf(path, "Fn.select");
        if (mode != HOST_SELECT_FOLDER && mode != HOST_SELECT_SAVE) {
            fault("Fn.select", "chooser mode " + std::to_string(mode) + " is not known");
        }
        FileChoosers& choosers = SubstituteHost::current().ui.choosers;
        ChooserRecord record{mode, std::string(text(title, "Fn.select")), proposed, std::nullopt};
        auto& answers = mode == HOST_SELECT_FOLDER ? choosers.folderAnswers : choosers.saveAnswers;
        if (!answers.empty()) {
            record.chosen = answers.front();
            answers.pop_front();
            path->path = *record.chosen;
        }
        choosers.shown.push_back(record);
        if (choosers.onShow) choosers.onShow(choosers.shown.back());
        return record.chosen.has_value();
    };
}

}  // namespace substitute
