#include "results.h"

#include "cleartrace_dialog.h"

namespace {
constexpr const char* channelNameTexts[channelCount] = {
    "Color", "Luminance", "Transparency", "Reflectance", "Environment", "Fog",    "Bump",    "Alpha",
    "Specular", "Specular Color", "Glow", "Displacement", "Diffusion", "Normal", "Unnamed",
};
}  // namespace

// ---- Store ------------------------------------------------------------------------
bool CleartraceDialog::addResult(host::Element*, host::Element*, int32_t, int32_t, bool) { return false; }

void CleartraceDialog::clearResults() { results.clear(); }

// ---- Tree view ----------------------------------------------------------------------
bool CleartraceDialog::setResultLayout() { return true; }

void CleartraceDialog::refreshResults() {}

ResultTreeCallbacks::ResultTreeCallbacks(CleartraceDialog& dialog) : dialog_(dialog) {
    for (int32_t i = 0; i < channelCount; ++i) channelNames[i] = host::String(channelNameTexts[i]);
}

ResultTreeCallbacks::~ResultTreeCallbacks() {
    for (host::String& name : channelNames) name.release();
}

void* ResultTreeCallbacks::firstRow(void*, void*) { return nullptr; }
void* ResultTreeCallbacks::nextRow(void*, void*, void*) { return nullptr; }
int32_t ResultTreeCallbacks::cellWidth(void*, void*, void*, int32_t, host::DrawArea*) { return 0; }
int32_t ResultTreeCallbacks::headerWidth(void*, void*, int32_t, host::DrawArea*) { return 0; }
int32_t ResultTreeCallbacks::rowHeight(void*, void*, void*, int32_t, host::DrawArea*) { return 0; }
void ResultTreeCallbacks::drawCell(void*, void*, void*, int32_t, const host::DrawInfo*, int32_t) {}
bool ResultTreeCallbacks::drawHeader(void*, void*, int32_t, const host::DrawInfo*) { return true; }
int64_t ResultTreeCallbacks::rowId(void*, void*, void*) { return rowCursor; }
void ResultTreeCallbacks::contextMenu(void*, void*, void*, int32_t, HostContainer* menu) {
    host::clearContainer(menu);
}
bool ResultTreeCallbacks::doubleClick(void*, void*, void*, int32_t, const HostMouseInfo*) { return true; }
host::String ResultTreeCallbacks::cellText(const ResultRecord&, int32_t) const { return {}; }
host::String ResultTreeCallbacks::headerText(int32_t) const { return {}; }
