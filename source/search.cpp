#include "search.h"

void CleartraceDialog::processTagPlugin(host::Document*, int32_t) {}
void CleartraceDialog::processShaderPlugin(host::Document*, int32_t) {}
void CleartraceDialog::processObjectPlugin(host::Document*, int32_t) {}
void CleartraceDialog::processVideoPostPlugin(host::Document*, int32_t) {}
