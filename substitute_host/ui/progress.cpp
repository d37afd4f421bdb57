#include "ui/progress.h"

#include "core/fault.h"
#include "core/substitute_host.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
StatusBar& statusBar() { return SubstituteHost::current().ui.statusBar; }

void changed(StatusChange change) {
    StatusBar& bar = statusBar();
    bar.changes.push_back(std::move(change));
    if (bar.onChange) bar.onChange(bar.changes.back());
}
}  // namespace

void fillProgressEntries(HostGeneralTable& ge) {
    ge.statusSetText = [](const HostString* text) {
        std::string shown(substitute::text(text, "Ge.statusSetText"));
        statusBar().text = shown;
        changed({StatusChange::Kind::Text, std::move(shown), 0});
    };
    ge.statusSetBar = [](int32_t percent) {
        if (percent < 0 || percent > 100) fault("Ge.statusSetBar", std::to_string(percent) + " is not a percentage");
        statusBar().percent = percent;
        changed({StatusChange::Kind::Bar, {}, percent});
    };
    ge.statusClear = []() {
        statusBar().text.clear();
        statusBar().percent.reset();
        changed({StatusChange::Kind::Cleared, {}, 0});
    };
    ge.keyDown = [](int32_t key) {
        if (key != HOST_KEY_ESCAPE) fault("Ge.keyDown", "only the Escape key is known");
        SubstituteHost& host = SubstituteHost::current();
        EscapeKey& escape = host.ui.escapeKey;
        ++escape.queries;
        return escape.pressedAfterLoads && host.scene.hiddenLoads >= *escape.pressedAfterLoads;
    };
}

}  // namespace substitute
