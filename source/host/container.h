// Host containers: settings handed to controls, dialog messages, menus.
#pragma once

#include "binding.h"

namespace host {

// An owned host container; valid() is false when the host could not create it.
class Container {
public:
    explicit Container(int32_t id = HOST_CONTAINER_PLAIN) : container_(fn().create(id)) {}
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;
    ~Container() {
        if (container_ != nullptr) fn().free(container_);
    }
    bool valid() const { return container_ != nullptr; }
    const HostContainer* handle() const { return container_; }
    bool setBool(int32_t key, bool value) { return container_ && fn().setBool(container_, key, value); }
    bool setInt32(int32_t key, int32_t value) { return container_ && fn().setInt32(container_, key, value); }

private:
    static const HostContainerTable& fn() { return *tables().t_C4DOS_Bc; }
    HostContainer* container_;
};

// Reading and emptying containers the host owns.
inline int32_t containerId(const HostContainer* container) { return tables().t_C4DOS_Bc->id(container); }
inline int32_t containerInt32(const HostContainer* container, int32_t key, int32_t fallback) {
    return tables().t_C4DOS_Bc->getInt32(container, key, fallback);
}
inline void clearContainer(HostContainer* container) { tables().t_C4DOS_Bc->clear(container); }

}  // namespace host
