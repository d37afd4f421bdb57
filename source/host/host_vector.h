// A growable array in host memory. Growing never throws: push answers false
// when the host has no memory left, and the array keeps what it held.
#pragma once

#include <type_traits>

#include "kernel.h"

namespace host {

template <class T>
class Vector {
public:
    Vector() = default;
    Vector(const Vector&) = delete;
    Vector& operator=(const Vector&) = delete;
    ~Vector() {
        clear();
        freeMemory(data_);
    }

    int32_t size() const { return size_; }
    int32_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T& operator[](int32_t i) { return data_[i]; }
    const T& operator[](int32_t i) const { return data_[i]; }
    T& back() { return data_[size_ - 1]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }

    bool push(T value) {
        if (size_ == capacity_ && !grow()) return false;
        new (data_ + size_) T(std::move(value));
        ++size_;
        return true;
    }
    // Appends count elements copied from items (plain data only); false, with
    // nothing appended, when out of memory.
    bool append(const T* items, int64_t count) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (count <= 0) return true;
        if (int64_t(size_) + count > INT32_MAX || !reserve(int32_t(size_ + count))) return false;
        std::memcpy(data_ + size_, items, size_t(count) * sizeof(T));
        size_ += int32_t(count);
        return true;
    }
    // Makes room for count elements in all; false when out of memory.
    bool reserve(int32_t count) {
        while (capacity_ < count) {
            if (!grow()) return false;
        }
        return true;
    }
    void pop() { data_[--size_].~T(); }
    // Destroys the elements from the last to the first; the capacity stays.
    void clear() {
        while (size_ > 0) pop();
    }

private:
    bool grow() {
        const int64_t wanted = capacity_ == 0 ? 16 : int64_t(capacity_) * 2;
        if (wanted > INT32_MAX) return false;
        T* larger = static_cast<T*>(HOST_ALLOC(wanted * int64_t(sizeof(T))));
        if (larger == nullptr) return false;
        for (int32_t i = 0; i < size_; ++i) {
            new (larger + i) T(std::move(data_[i]));
            data_[i].~T();
        }
        freeMemory(data_);
        data_ = larger;
        capacity_ = int32_t(wanted);
        return true;
    }

    T* data_ = nullptr;
    int32_t size_ = 0;
    int32_t capacity_ = 0;
};

}  // namespace host
