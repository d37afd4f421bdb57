// Host path objects: the module's own file, its folders, the help file.
#pragma once

#include "kernel.h"

namespace host {

// An owned host path; one handle, so it fits the 8-byte path object the
// module keeps for its own file. A path whose creation failed is empty.
class Path {
public:
    Path() : path_(fn().create()) {}
    Path(const Path& other) : Path() { assign(other); }
    Path(Path&& other) noexcept : path_(std::exchange(other.path_, nullptr)) {}
    Path& operator=(const Path& other) {
        if (this != &other) assign(other);
        return *this;
    }
    ~Path() {
        if (path_ != nullptr) fn().free(path_);
    }

    // Takes over a path the host handed out ("new").
    static Path adopt(HostPath* path) {
        Path result(nullptr);
        result.path_ = path;
        return result;
    }
    static Path fromString(const String& text) { return adopt(fn().fromString(text.handle())); }

    const HostPath* handle() const { return path_; }
    HostPath* handle() { return path_; }
    bool valid() const { return path_ != nullptr; }
    bool empty() const { return path_ == nullptr || fn().isEmpty(path_); }

    // Copies source into this path; false when out of memory.
    bool assign(const HostPath* source) {
        if (path_ == nullptr || source == nullptr) return false;
        return fn().assign(path_, source);
    }
    bool assign(const Path& source) { return assign(source.path_); }

    Path directory() const { return path_ ? adopt(fn().directory(path_)) : Path(); }
    Path join(const String& element) const { return path_ ? adopt(fn().join(path_, element.handle())) : Path(); }
    String lastComponent() const { return path_ ? String::adopt(fn().lastComponent(path_)) : String(); }
    String toString() const { return path_ ? String::adopt(fn().toString(path_)) : String(); }
    // What is at this path with every link followed, written into real;
    // false when nothing is there, or when either path is invalid (out of
    // memory: the caller tells by real.valid()).
    bool realPath(Path& real) const { return path_ && real.path_ && fn().realPath(path_, real.path_); }
    friend bool operator==(const Path& a, const Path& b) {
        if (a.path_ == nullptr || b.path_ == nullptr) return a.empty() && b.empty();
        return fn().equal(a.path_, b.path_);
    }

private:
    explicit Path(std::nullptr_t) {}
    static const HostPathTable& fn() { return *tables().t_C4DOS_Fn; }
    HostPath* path_ = nullptr;
};

// System form of a path the host lends: new reference, refused when out of memory.
inline String pathText(const HostPath* path) {
    return path ? String::adopt(tables().t_C4DOS_Fn->toString(path)) : String();
}

// Application folders from the kernel's application service.
inline Path applicationUrl(int32_t kind, const char* frameworkId) {
    return Path::adopt(kernel().applicationUrl(kind, frameworkId));
}

}  // namespace host
