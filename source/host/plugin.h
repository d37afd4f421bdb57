// Registering the module's plug-ins, its resource (string table) and bitmaps.
#pragma once

#include "kernel.h"
#include "path.h"

namespace host {

inline bool registerPlugin(int32_t version, int32_t kind, int32_t id, const String& name,
                           const HostCommandRecord& record) {
    return tables().t_C4DOS_Pr->registerPlugin(version, kind, id, name.handle(), &record,
                                               int32_t(sizeof(HostCommandRecord)));
}

// ---- Resource ----------------------------------------------------------------
inline HostResource* loadResource(const Path& folder) {
    return folder.valid() ? tables().t_C4DOS_Ge->loadResource(folder.handle()) : nullptr;
}
inline void freeResource(HostResource* resource, bool initialised) {
    tables().t_C4DOS_Ge->freeResource(resource, initialised);
}
inline String resourceString(const HostResource* resource, int32_t id) {
    return String::adopt(tables().t_C4DOS_Ge->resourceString(resource, id));
}

// ---- Bitmaps --------------------------------------------------------------------

// An owned host bitmap; valid() is false when the host could not create it.
class Bitmap {
public:
    Bitmap() : bitmap_(fn().create()) {}
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    ~Bitmap() { reset(); }
    bool valid() const { return bitmap_ != nullptr; }
    HostBitmap* handle() const { return bitmap_; }
    int32_t load(const Path& file) { return bitmap_ && file.valid() ? fn().load(bitmap_, file.handle()) : 0; }
    void setProperty(int32_t property, double value) {
        if (bitmap_) fn().setProperty(bitmap_, property, value);
    }
    void reset() {
        if (bitmap_ != nullptr) fn().free(std::exchange(bitmap_, nullptr));
    }

private:
    static const HostBitmapTable& fn() { return *tables().t_C4DOS_Bm; }
    HostBitmap* bitmap_;
};

}  // namespace host
