// The tables the substitute host hands to the module. Each area of the host
// fills the entries of its own subjects; the Ge table is shared by the scene
// (documents, notices) and the interface (message boxes, resources).
#pragma once

#include "host/host_kernel.h"

namespace substitute {

struct TableStorage {
    HostGeneralTable ge{};
    HostShaderTable sh{};
    HostContainerTable bc{};
    HostBitmapTable bm{};
    HostElementTable ba{};
    HostPathTable fn{};
    HostDrawTable cu{};
    HostPluginTable pr{};
    HostLibraryTable lr{};
    HostListTable bl{};
    HostTagTable tg{};
    HostObjectTable bo{};
    HostDocumentTable bd{};
    HostMaterialTable mt{};
    HostUndoTable bu{};
    HostRenderTable br{};
    HostFileTable fi{};
    HostBrowseTable bf{};
    HostLinkTable ln{};
    HostValueTable gv{};
    HostDialogTable gd{};
    HostArrayTable at{};
    HostUnusedTable unused{};
    HostLayerShaderLibrary layerShaderLibrary{};
    HostTreeViewLibrary treeViewLibrary{};
};

}  // namespace substitute
