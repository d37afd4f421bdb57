// The video post walk: the video posts of the active render settings, or of
// every render settings of the document, in list order.
#include "search_run.h"

namespace {

// The video posts of settings; the render settings are passed on to the rows
// of a walk over every render settings, which name them. Answers whether
// the walk goes on.
bool walkSettings(SearchRun& run, const host::Element* settings, host::Element* listedSettings) {
    for (host::Element* videoPost = host::firstVideoPost(settings); videoPost != nullptr && !run.outcome.outOfMemory;
         videoPost = host::next(videoPost)) {
        if (sought(run, PluginType::PostEffect, videoPost, host::typeId(videoPost))) {
            meetInstance(run, run.request.action, videoPost, PluginType::PostEffect, videoPost, listedSettings, 0,
                         false);
            if (run.request.action == Action::Identify) return false;  // the first instance in list order decides
        }
        // A missing-plugins walk meets the shaders of every element where it meets the element.
        if (run.everyShader) {
            const bool removed = run.request.action == Action::Remove && isPlanned(run, videoPost);
            walkOwnedShaders(run, {videoPost, PluginType::PostEffect, nullptr, -1}, removed);
        }
    }
    return !run.outcome.outOfMemory;
}

// Every render settings in document order but skipped.
void walkEverySettings(SearchRun& run, const host::Element* skipped, bool named) {
    for (host::Element* settings = host::firstRenderSettings(run.document); settings != nullptr;
         settings = host::next(settings)) {
        if (settings != skipped && !walkSettings(run, settings, named ? settings : nullptr)) return;
    }
}

}  // namespace

void walkVideoPosts(SearchRun& run, int32_t scope) {
    if (seeksNothing(run)) return;
    if (run.missing != nullptr || scope == allRenderSettingsScope) {
        walkEverySettings(run, nullptr, scope == allRenderSettingsScope);
    } else {
        const host::Element* active = host::activeRenderSettings(run.document);
        // Identify looks further only when the active render settings hold
        // no instance, so an id the scene holds is never called absent.
        if ((active == nullptr || walkSettings(run, active, nullptr)) && run.request.action == Action::Identify &&
            !run.outcome.foundType)
            walkEverySettings(run, active, false);
    }
    walkEnded(run);
}
