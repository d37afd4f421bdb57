// A faulty module for the validator's tests: a shim linked to the real module
// that stands between it and the host, with one host entry wrapped so that the
// pair behaves like a module with one planted fault. Which fault is chosen by
// a compile definition, one library per fault:
//   CLEARTRACE_PLANT_DOUBLE_FREE    every element the module frees is freed twice;
//   CLEARTRACE_PLANT_LEAKED_STRING  every allocation refused after start leaves a
//                                   host string behind (a leak on the out-of-memory path);
//   CLEARTRACE_PLANT_IGNORED_UNDO   an undo step the host refused is taken for recorded,
//                                   so the element is removed without it;
//   CLEARTRACE_PLANT_REFUSED_TEXT   a string the host refused is taken for an empty one,
//                                   so a text with a part missing is shown;
//   CLEARTRACE_PLANT_QUADRATIC_LISTING  the results list finds each row again from
//                                   the first before it answers the next (quadratic
//                                   work in the module, no more host calls);
//   CLEARTRACE_PLANT_REORDERED_TAGS every tag a removal moves into the Null that
//                                   keeps it goes first among the Null's tags, in
//                                   place of after the one it should follow;
//   CLEARTRACE_PLANT_OVERWRITING_SAVE a cleaned copy is saved over whatever is
//                                   at its path, which is deleted first.
// Everything else is forwarded untouched, so without the fault the pair
// answers exactly as the real module does.
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "host/host_kernel.h"

// Under AddressSanitizer the planted leak is real memory, which its leak check
// would report at exit and so end the process with a failure of its own: the
// host's count is the one that must see it.
#if defined(__SANITIZE_ADDRESS__)
#define PLANTED_UNDER_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PLANTED_UNDER_ADDRESS_SANITIZER
#endif
#endif
#ifdef PLANTED_UNDER_ADDRESS_SANITIZER
#include <sanitizer/lsan_interface.h>
#endif

#if (defined(CLEARTRACE_PLANT_DOUBLE_FREE) + defined(CLEARTRACE_PLANT_LEAKED_STRING) +        \
     defined(CLEARTRACE_PLANT_IGNORED_UNDO) + defined(CLEARTRACE_PLANT_REFUSED_TEXT) +        \
     defined(CLEARTRACE_PLANT_QUADRATIC_LISTING) + defined(CLEARTRACE_PLANT_REORDERED_TAGS) + \
     defined(CLEARTRACE_PLANT_OVERWRITING_SAVE)) != 1
#error "define exactly one CLEARTRACE_PLANT_ fault"
#endif

#define PLANTED_EXPORT __attribute__((visibility("default")))

extern "C" {
// Filled from the real module's own when the shim is loaded.
PLANTED_EXPORT HostModuleInfo g_maxon = {};
PLANTED_EXPORT HostCpuYieldDelegate g_CpuYieldDelegate = {};
PLANTED_EXPORT int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3);
}

namespace {

struct RealModule {
    HostModuleMain main = nullptr;
    HostModuleInfo* info = nullptr;
};
RealModule real;

// What the real module is given in place of the host's own: copies, with the
// planted entry wrapped. Every bind (and every kernel the host writes) gets
// copies of its own, so that what the module kept from an earlier one stays as
// the host gave it; a module keeps no more than a few at once.
template <class Copy>
Copy& freshCopy() {
    static Copy copies[16];
    static size_t next = 0;
    return copies[next++ % 16];
}

// A table starts with its size: copy no more of it than was given, and keep
// that size, so a short table stays exactly as short for its reader.
template <class Table>
void copyInto(Table& to, const Table& from) {
    to = Table{};
    std::memcpy(&to, &from, std::clamp<size_t>(size_t(std::max(from.size, 0)), sizeof from.size, sizeof to));
}

template <class Table>
Table& copyTable(const Table& from) {
    Table& to = freshCopy<Table>();
    copyInto(to, from);
    return to;
}

template <class Table, class Entry>
bool hasEntry(const Table& table, const Entry Table::*entry) {
    const auto end = reinterpret_cast<const char*>(&(table.*entry)) + sizeof(Entry);
    return table.size >= end - reinterpret_cast<const char*>(&table) && table.*entry != nullptr;
}

// A copy of table with entry swapped for wrapper (the host's own kept in
// original); a table that lacks the entry is copied as it is.
template <class Table, class Entry>
[[maybe_unused]] Table& wrapEntry(const Table& table, Entry Table::*entry, Entry& original,
                                  std::type_identity_t<Entry> wrapper) {
    Table& copy = copyTable(table);
    if (hasEntry(copy, entry)) {
        original = copy.*entry;
        copy.*entry = wrapper;
    }
    return copy;
}

#ifdef CLEARTRACE_PLANT_DOUBLE_FREE
// The host's own entry, as the last table that had it gave it.
void (*hostFree)(HostElement* element) = nullptr;

// The walker's fault: it frees what it removes, then frees it again.
void freeTwice(HostElement* element) {
    hostFree(element);
    hostFree(element);
}
#endif

#ifdef CLEARTRACE_PLANT_LEAKED_STRING
// The fault sits on the out-of-memory path of the module's work, after start;
// a refusal while it binds or loads its resource is handled soundly.
bool started = false;
void* (*hostAllocate)(int64_t bytes, bool clear, const char* file, int32_t line) = nullptr;
HostString* (*hostStringFromUtf8)(const char* utf8, int64_t length) = nullptr;

// The out-of-memory path's fault: it builds a message it never releases.
void* allocateLeakingWhenRefused(int64_t bytes, bool clear, const char* file, int32_t line) {
    void* block = hostAllocate(bytes, clear, file, line);
    if (block == nullptr && started) {
        static const char text[] = "out of memory";
        [[maybe_unused]] HostString* leaked = hostStringFromUtf8(text, int64_t(sizeof text - 1));
#ifdef PLANTED_UNDER_ADDRESS_SANITIZER
        if (leaked != nullptr) __lsan_ignore_object(leaked);
#endif
    }
    return block;
}
#endif

#ifdef CLEARTRACE_PLANT_IGNORED_UNDO
bool (*hostAddStep)(HostDocument* document, int32_t kind, HostElement* element, void* data) = nullptr;

// The removal's fault: it goes on as if every step were recorded.
bool addStepIgnoringRefusal(HostDocument* document, int32_t kind, HostElement* element, void* data) {
    hostAddStep(document, kind, element, data);
    return true;
}
#endif

#ifdef CLEARTRACE_PLANT_REFUSED_TEXT
HostString* (*hostStringFromUtf8)(const char* utf8, int64_t length) = nullptr;
HostString* (*hostStringFromInt)(int64_t value) = nullptr;
HostString* (*hostStringConcat)(const HostString* a, const HostString* b) = nullptr;
HostString* (*hostName)(const HostElement* element) = nullptr;

// The texts' fault: a refused string becomes an empty one (the host refuses
// one request at a time, so asking again for the empty text is granted).
HostString* emptyWhenRefused(HostString* made) { return made != nullptr ? made : hostStringFromUtf8("", 0); }
HostString* fromUtf8(const char* utf8, int64_t length) { return emptyWhenRefused(hostStringFromUtf8(utf8, length)); }
HostString* fromInt(int64_t value) { return emptyWhenRefused(hostStringFromInt(value)); }
HostString* concat(const HostString* a, const HostString* b) { return emptyWhenRefused(hostStringConcat(a, b)); }
HostString* name(const HostElement* element) { return emptyWhenRefused(hostName(element)); }
#endif

#ifdef CLEARTRACE_PLANT_QUADRATIC_LISTING
// The host's own entries, as the last tables that had them gave them.
const void* (*hostFindLibrary)(int32_t libraryId) = nullptr;
void (*hostAttach)(HostGui* treeView, void* root, const HostTreeViewCallbacks* callbacks, void* self,
                   void* user) = nullptr;
// The module's callbacks (one static table of its own), and what the host is
// given instead: the same with nextRow walking. It outlives every attachment,
// as the shim stays loaded as long as the module.
const HostTreeViewCallbacks* moduleCallbacks = nullptr;
HostTreeViewCallbacks walkingCallbacks = {};

// The result store's fault: it finds the row again from the first before it
// answers the next one, in the module's own code and without a host call.
void* nextAfterWalk(void* self, void* root, void* user, void* row) {
    void* at = moduleCallbacks->firstRow(self, root, user);
    while (at != nullptr && at != row) at = moduleCallbacks->nextRow(self, root, user, at);
    return moduleCallbacks->nextRow(self, root, user, row);
}

void attachWalking(HostGui* treeView, void* root, const HostTreeViewCallbacks* callbacks, void* self, void* user) {
    if (callbacks != nullptr && hasEntry(*callbacks, &HostTreeViewCallbacks::firstRow) &&
        hasEntry(*callbacks, &HostTreeViewCallbacks::nextRow)) {
        moduleCallbacks = callbacks;
        copyInto(walkingCallbacks, *callbacks);
        walkingCallbacks.nextRow = nextAfterWalk;
        callbacks = &walkingCallbacks;
    }
    hostAttach(treeView, root, callbacks, self, user);
}

const void* findLibraryWrapped(int32_t libraryId) {
    const void* library = hostFindLibrary(libraryId);
    if (libraryId != HOST_LIBRARY_TREE_VIEW || library == nullptr) return library;
    return &wrapEntry(*static_cast<const HostTreeViewLibrary*>(library), &HostTreeViewLibrary::attach, hostAttach,
                      attachWalking);
}
#endif

#ifdef CLEARTRACE_PLANT_REORDERED_TAGS
void (*hostInsertTag)(HostElement* object, HostElement* tag, HostElement* previous) = nullptr;

// The keeping's fault: a kept tag's place among the Null's tags is lost, its
// Null kept, so each undo step still records where the tag went.
void insertTagFirst(HostElement* object, HostElement* tag, HostElement*) { hostInsertTag(object, tag, nullptr); }
#endif

#ifdef CLEARTRACE_PLANT_OVERWRITING_SAVE
int32_t (*hostSaveDocument)(const HostDocument* document, const HostPath* file) = nullptr;
bool (*hostRemove)(const HostPath* path) = nullptr;

// The clean's fault: a file already at the copy's path is taken for an old
// copy of its own and deleted, so the copy lands over it.
int32_t saveOverAnything(const HostDocument* document, const HostPath* file) {
    if (hostRemove != nullptr) hostRemove(file);
    return hostSaveDocument(document, file);
}
#endif

// The host writes its kernel into the shim's block before bind (and may
// change it later): the real module gets a copy of the same.
void passKernel() {
    static const HostKernel* copiedFrom = nullptr;
    if (g_maxon.kernel == copiedFrom) return;
    copiedFrom = g_maxon.kernel;
    if (copiedFrom == nullptr) {
        real.info->kernel = nullptr;
        return;
    }
    HostKernel& kernel = copyTable(*copiedFrom);
#ifdef CLEARTRACE_PLANT_LEAKED_STRING
    if (hasEntry(kernel, &HostKernel::allocate) && hasEntry(kernel, &HostKernel::stringFromUtf8)) {
        hostAllocate = kernel.allocate;
        hostStringFromUtf8 = kernel.stringFromUtf8;
        kernel.allocate = allocateLeakingWhenRefused;
    }
#endif
#ifdef CLEARTRACE_PLANT_REFUSED_TEXT
    if (hasEntry(kernel, &HostKernel::stringFromUtf8) && hasEntry(kernel, &HostKernel::stringFromInt) &&
        hasEntry(kernel, &HostKernel::stringConcat)) {
        hostStringFromUtf8 = kernel.stringFromUtf8;
        hostStringFromInt = kernel.stringFromInt;
        hostStringConcat = kernel.stringConcat;
        kernel.stringFromUtf8 = fromUtf8;
        kernel.stringFromInt = fromInt;
        kernel.stringConcat = concat;
    }
#endif
    real.info->kernel = &kernel;
}

// The bind message's tables, with the list table (and the library table, for
// the listing's fault) swapped for wrapped copies.
const HostTables* passTables(const HostTables* handed) {
    if (handed == nullptr || handed->t_C4DOS_Bl == nullptr) return handed;
    HostTables& tables = freshCopy<HostTables>();
    tables = *handed;
    HostListTable& list = copyTable(*handed->t_C4DOS_Bl);
#ifdef CLEARTRACE_PLANT_DOUBLE_FREE
    if (hasEntry(list, &HostListTable::free)) {
        hostFree = list.free;
        list.free = freeTwice;
    }
#endif
    tables.t_C4DOS_Bl = &list;
#ifdef CLEARTRACE_PLANT_IGNORED_UNDO
    if (handed->t_C4DOS_Bu != nullptr) {
        tables.t_C4DOS_Bu =
            &wrapEntry(*handed->t_C4DOS_Bu, &HostUndoTable::addStep, hostAddStep, addStepIgnoringRefusal);
    }
#endif
#ifdef CLEARTRACE_PLANT_REFUSED_TEXT
    if (handed->t_C4DOS_Ba != nullptr) {
        tables.t_C4DOS_Ba = &wrapEntry(*handed->t_C4DOS_Ba, &HostElementTable::name, hostName, name);
    }
#endif
#ifdef CLEARTRACE_PLANT_REORDERED_TAGS
    if (handed->t_C4DOS_Bo != nullptr) {
        tables.t_C4DOS_Bo = &wrapEntry(*handed->t_C4DOS_Bo, &HostObjectTable::insertTag, hostInsertTag, insertTagFirst);
    }
#endif
#ifdef CLEARTRACE_PLANT_OVERWRITING_SAVE
    if (handed->t_C4DOS_Ge != nullptr && handed->t_C4DOS_Fi != nullptr &&
        hasEntry(*handed->t_C4DOS_Fi, &HostFileTable::remove)) {
        hostRemove = handed->t_C4DOS_Fi->remove;
        tables.t_C4DOS_Ge =
            &wrapEntry(*handed->t_C4DOS_Ge, &HostGeneralTable::saveDocument, hostSaveDocument, saveOverAnything);
    }
#endif
#ifdef CLEARTRACE_PLANT_QUADRATIC_LISTING
    if (handed->t_C4DOS_Lr != nullptr) {
        tables.t_C4DOS_Lr =
            &wrapEntry(*handed->t_C4DOS_Lr, &HostLibraryTable::find, hostFindLibrary, findLibraryWrapped);
    }
#endif
    return &tables;
}

// The real module is a dependency of the shim, so the system loads it first
// and unloads it with the shim, while the copies it was given still exist.
// Loading the shim shows the host the real module's information block and
// yield delegate; when they cannot be read, the block keeps version 0 and
// the host refuses the shim.
__attribute__((constructor)) void findRealModule() {
    void* library = dlopen(CLEARTRACE_MODULE_FILE, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (library == nullptr) {
        std::fprintf(stderr, "planted module: %s is not loaded: %s\n", CLEARTRACE_MODULE_FILE, dlerror());
        return;
    }
    real.main = reinterpret_cast<HostModuleMain>(dlsym(library, "c4d_main"));
    real.info = static_cast<HostModuleInfo*>(dlsym(library, "g_maxon"));
    auto* yield = static_cast<HostCpuYieldDelegate*>(dlsym(library, "g_CpuYieldDelegate"));
    dlclose(library);
    if (real.main == nullptr || real.info == nullptr || yield == nullptr) return;
    g_maxon = *real.info;
    g_maxon.kernel = nullptr;
    g_CpuYieldDelegate = *yield;
}

}  // namespace

int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3) {
    passKernel();
    if (message == HOST_MODULE_BIND) p1 = const_cast<HostTables*>(passTables(static_cast<const HostTables*>(p1)));
    const int32_t answer = real.main(message, p1, p2, p3);
#ifdef CLEARTRACE_PLANT_LEAKED_STRING
    started = started || (message == HOST_MODULE_START && answer == HOST_MODULE_HANDLED);
#endif
    return answer;
}
