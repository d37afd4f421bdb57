#include "core/substitute_host.h"

#include "core/fault.h"
#include "files/copy_files.h"
#include "files/scene_folders.h"
#include "files/whole_files.h"
#include "scene_file/document_files.h"

namespace substitute {
namespace {
SubstituteHost* currentHost = nullptr;

template <class Table>
void sized(Table& table) {
    table.size = int32_t(sizeof(Table));
}
}  // namespace

SubstituteHost::SubstituteHost() {
    if (currentHost != nullptr) fault("SubstituteHost", "a substitute host is already running");
    currentHost = this;

    services.fill(kernel_, storage_);
    scene.fill(storage_);
    ui.fill(storage_);
    fillDocumentFileEntries(storage_.ge);
    fillBrowseTable(storage_.bf);
    fillWholeFileEntry(storage_.fi);
    fillCopyFileEntries(storage_.fi);

    TableStorage& s = storage_;
    sized(s.ge), sized(s.sh), sized(s.bc), sized(s.bm), sized(s.ba), sized(s.fn), sized(s.cu), sized(s.pr);
    sized(s.lr), sized(s.bl), sized(s.tg), sized(s.bo), sized(s.bd), sized(s.mt), sized(s.bu), sized(s.br);
    sized(s.fi), sized(s.bf), sized(s.ln), sized(s.gv), sized(s.gd), sized(s.at), sized(s.unused);
    sized(s.layerShaderLibrary), sized(s.treeViewLibrary);
    s.lr.find = [](int32_t id) -> const void* {
        TableStorage& tables = current().storage_;
        if (id == HOST_LIBRARY_LAYER_SHADER) return &tables.layerShaderLibrary;
        if (id == HOST_LIBRARY_TREE_VIEW) return &tables.treeViewLibrary;
        return nullptr;
    };

    tables_.version = HOST_INTERFACE_VERSION;
    tables_.t_C4DOS_Ge = &s.ge;
    tables_.t_C4DOS_Sh = &s.sh;
    tables_.t_C4DOS_Hf = &s.unused;
    tables_.t_C4DOS_Bc = &s.bc;
    tables_.t_C4DOS_St = &s.unused;
    tables_.t_C4DOS_Bm = &s.bm;
    tables_.t_C4DOS_Ms = &s.unused;
    tables_.t_C4DOS_Ba = &s.ba;
    tables_.t_C4DOS_Fn = &s.fn;
    tables_.t_C4DOS_Fl = &s.unused;
    tables_.t_C4DOS_Bf = &s.bf;
    tables_.t_C4DOS_Cd = &s.unused;
    tables_.t_C4DOS_Cu = &s.cu;
    tables_.t_C4DOS_Pr = &s.pr;
    tables_.t_C4DOS_Lr = &s.lr;
    tables_.t_C4DOS_Bl = &s.bl;
    tables_.t_C4DOS_Tg = &s.tg;
    tables_.t_C4DOS_Bo = &s.bo;
    tables_.t_C4DOS_Bd = &s.bd;
    tables_.t_C4DOS_Bt = &s.unused;
    tables_.t_C4DOS_Mt = &s.mt;
    tables_.t_C4DOS_Tx = &s.unused;
    tables_.t_C4DOS_Bs = &s.unused;
    tables_.t_C4DOS_Bu = &s.bu;
    tables_.t_C4DOS_Br = &s.br;
    tables_.t_C4DOS_Bv = &s.unused;
    tables_.t_C4DOS_Nb = &s.unused;
    tables_.t_C4DOS_Pl = &s.unused;
    tables_.t_C4DOS_Fi = &s.fi;
    tables_.t_C4DOS_Pa = &s.unused;
    tables_.t_C4DOS_Ln = &s.ln;
    tables_.t_C4DOS_Gv = &s.gv;
    tables_.t_C4DOS_Gd = &s.gd;
    tables_.t_C4DOS_At = &s.at;
    tables_.t_C4DOS_CA = &s.unused;
    tables_.t_C4DOS_Ne = &s.unused;
    tables_.t_C4DOS_FL = &s.unused;
}

SubstituteHost::~SubstituteHost() {
    // The application destroys the plug-ins it registered before it goes.
    ui.shutDown();
    scene.clear();
    currentHost = nullptr;
}

SubstituteHost& SubstituteHost::current() {
    if (currentHost == nullptr) fault("host call", "no substitute host is running");
    ++currentHost->reached_;
    return *currentHost;
}

bool SubstituteHost::running() { return currentHost != nullptr; }

}  // namespace substitute
