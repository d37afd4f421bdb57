#include "dialog_progress.h"

#include "host/progress.h"

namespace {

bool showFile(const host::String& path, int32_t number, int32_t count) {
    const host::String text = host::String("Cleartrace: ") + path + " (" + host::String::number(number) + " of " +
                              host::String::number(count) + ")";
    if (!host::setStatusText(text)) return false;
    host::setStatusBar(count > 0 ? int32_t(int64_t(number - 1) * 100 / count) : 0);
    return true;
}

bool showListing(int32_t found) {
    const host::String text =
        host::String("Cleartrace: listing the folder (") + host::String::number(found) + " found)";
    return host::setStatusText(text);
}

bool escapePressed() { return host::escapePressed(); }

void clearStatusBar() { host::clearStatus(); }

}  // namespace

const FolderProgress statusBarProgress = {&showFile, &escapePressed, &clearStatusBar, &showListing};
