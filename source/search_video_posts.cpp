// The video post walk: the active render settings' video posts, in list order.
#include "search_run.h"

void walkVideoPosts(SearchRun& run) {
    if (seeksNothing(run)) return;
    const host::Element* settings = host::activeRenderSettings(run.document);
    host::Element* videoPost = settings ? host::firstVideoPost(settings) : nullptr;
    for (; videoPost != nullptr && !run.outcome.outOfMemory; videoPost = host::next(videoPost)) {
        if (!sought(run, PluginType::PostEffect, videoPost, host::typeId(videoPost))) continue;
        meetInstance(run, run.request.action, videoPost, PluginType::PostEffect, videoPost, nullptr, 0, false);
        if (run.request.action == Action::Identify) break;  // the first instance in list order decides
    }
    host::sceneChanged();
}
