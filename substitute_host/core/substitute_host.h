// The substitute host: an in-memory stand-in for the application that fills
// the host tables and kernel services the module binds to. One instance is
// current at a time; the C entries of the tables reach it through current().
#pragma once

#include "core/handles.h"
#include "core/table_storage.h"
#include "host/host_kernel.h"
#include "kernel/kernel_services.h"
#include "scene/scene.h"
#include "ui/interface.h"

namespace substitute {

class SubstituteHost {
public:
    SubstituteHost();
    ~SubstituteHost();
    SubstituteHost(const SubstituteHost&) = delete;
    SubstituteHost& operator=(const SubstituteHost&) = delete;

    // The instance the tables work on; faults when there is none.
    static SubstituteHost& current();
    static bool running();

    // How often host code has looked up the running host through current().
    // Every table entry does so at least once, so this counts the host calls
    // a module makes (and the host's own handle checks): a measure of host
    // work that checks compare between sizes, where timing would be noise.
    uint64_t reached() const { return reached_; }

    // What the bind message hands over, and the kernel written into g_maxon.
    const HostTables* tables() const { return &tables_; }
    const HostKernel* kernel() const { return &kernel_; }

    HandleRegistry handles;
    KernelServices services;  // memory, strings, paths, console, configuration, folders
    Scene scene;              // documents, elements, registry, undo
    Interface ui;             // dialogs, tree views, message boxes, resources, bitmaps, files, commands

private:
    TableStorage storage_;
    uint64_t reached_ = 0;
    HostTables tables_{};
    HostKernel kernel_{};
};

}  // namespace substitute
