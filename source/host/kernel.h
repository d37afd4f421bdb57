// Kernel services for the module's logic: host memory, host strings,
// console lines and configuration switches.
#pragma once

#include <cstring>
#include <new>
#include <string_view>
#include <utility>

#include "binding.h"

namespace host {

// ---- Memory ---------------------------------------------------------------
// Host memory carries the caller's source location; use the macros.
inline void* allocate(int64_t bytes, bool clear, const char* file, int line) {
    return kernel().allocate(bytes, clear, file, line);
}
inline void freeMemory(void* block) {
    if (block != nullptr) kernel().freeMemory(block);
}
#define HOST_ALLOC(bytes) ::host::allocate((bytes), false, __FILE__, __LINE__)
#define HOST_ALLOC_CLEAR(bytes) ::host::allocate((bytes), true, __FILE__, __LINE__)

// ---- Strings ----------------------------------------------------------------
// A host string: copying shares the text, the last release frees it. The
// default string is empty and holds no host object. One the host could not
// make (out of memory) is refused: it reads as empty but says so, and a text
// joined from it is refused too, so that no text with a part missing is ever
// taken for whole.
class String {
public:
    String() = default;
    String(std::string_view text) : String(adopt(kernel().stringFromUtf8(text.data(), int64_t(text.size())))) {}
    String(const char* text) : String(std::string_view(text)) {}
    String(const String& other)
        : text_(other.text_ ? kernel().stringRetain(other.text_) : nullptr), refused_(other.refused_) {}
    String(String&& other) noexcept
        : text_(std::exchange(other.text_, nullptr)), refused_(std::exchange(other.refused_, false)) {}
    String& operator=(String other) noexcept {
        std::swap(text_, other.text_);
        std::swap(refused_, other.refused_);
        return *this;
    }
    ~String() { release(); }

    // Takes over a reference the host handed out ("new reference"); the host
    // answers null only when it could not make the text.
    static String adopt(HostString* text) {
        String result;
        result.text_ = text;
        result.refused_ = text == nullptr;
        return result;
    }
    static String number(int64_t value) { return adopt(kernel().stringFromInt(value)); }

    const HostString* handle() const { return text_; }
    bool refused() const { return refused_; }
    bool empty() const { return view().empty(); }
    std::string_view view() const {
        if (text_ == nullptr) return {};
        int64_t length = 0;
        const char* bytes = kernel().stringUtf8(text_, &length);
        return {bytes, size_t(length)};
    }
    void release() {
        if (text_ != nullptr) kernel().stringRelease(std::exchange(text_, nullptr));
        refused_ = false;
    }

    friend String operator+(const String& a, const String& b) {
        if (a.refused_ || b.refused_) return adopt(nullptr);
        return adopt(kernel().stringConcat(a.text_, b.text_));
    }
    // A refused text equals nothing: it cannot tell what it would have said.
    friend bool operator==(const String& a, const String& b) {
        return !a.refused_ && !b.refused_ && a.view() == b.view();
    }

private:
    HostString* text_ = nullptr;
    bool refused_ = false;
};

// ---- Console ---------------------------------------------------------------
inline constexpr const char* defaultLogger = "net.maxon.core.logger.default";

inline void log(const String& line, const char* file, int sourceLine) {
    kernel().log(defaultLogger, HOST_LOG_LEVEL_INFO, line.handle(), file, sourceLine);
}
inline void logCritical(const String& line, const char* file, int sourceLine) {
    kernel().log(defaultLogger, HOST_LOG_LEVEL_CRITICAL, line.handle(), file, sourceLine);
}
#define HOST_LOG(line) ::host::log((line), __FILE__, __LINE__)
#define HOST_LOG_CRITICAL(line) ::host::logCritical((line), __FILE__, __LINE__)

inline void debugBreak() { kernel().debugBreak(); }

// ---- Configuration ----------------------------------------------------------
inline bool configRegisterBool(const char* name, bool defaultValue, const char* help) {
    return kernel().configRegisterBool(name, defaultValue, help);
}
inline bool configBool(const char* name, bool fallback) { return kernel().configBool(name, fallback); }

// ---- Objects in host memory ---------------------------------------------------
// Constructs T in zero-filled host memory; null when out of memory.
template <class T, class... Args>
T* createZeroed(const char* file, int line, Args&&... args) {
    void* block = allocate(int64_t(sizeof(T)), true, file, line);
    if (block == nullptr) return nullptr;
    return new (block) T(std::forward<Args>(args)...);
}
template <class T>
void destroyZeroed(T* object) {
    if (object == nullptr) return;
    object->~T();
    freeMemory(object);
}

}  // namespace host
