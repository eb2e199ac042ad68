// The growable list that carries every link between persons and families.
// Nearly every list holds one or two entries, so those live in the list
// itself (no allocation for most of the 250,000 persons of a large file);
// longer lists, such as a family with hundreds of children, grow in an
// array of their own as far as the file needs.
#pragma once

#include <cstdint>

namespace kinmap {

class IdList {
public:
    IdList() = default;
    IdList(const IdList& other) { assign(other); }
    IdList& operator=(const IdList& other);
    IdList(IdList&& other) noexcept { take(other); }
    IdList& operator=(IdList&& other) noexcept;
    ~IdList() { release(); }

    int count() const { return static_cast<int>(count_); }
    bool empty() const { return count_ == 0; }
    // Unchecked read; code that reads by an index it did not bound itself
    // goes through Session::entryAt, which reports a bad index.
    int32_t operator[](int i) const { return data()[i]; }
    const int32_t* begin() const { return data(); }
    const int32_t* end() const { return data() + count_; }
    int32_t* begin() { return data(); }
    int32_t* end() { return data() + count_; }

    bool contains(int32_t value) const;
    // Adds value at the end; false (the list unchanged) when memory runs out.
    bool append(int32_t value);
    // Removes every entry equal to value, keeping the order of the others.
    void removeValue(int32_t value);
    // Removes the first entry equal to value (one copy of a doubled link).
    void removeOneCopy(int32_t value);
    // Removes the entry at index i (0 <= i < count).
    void removeAt(int i);
    void clear();

private:
    static constexpr uint32_t inlineCapacity = 2;

    bool onHeap() const { return capacity_ > inlineCapacity; }
    int32_t* data() { return onHeap() ? heap_ : inline_; }
    const int32_t* data() const { return onHeap() ? heap_ : inline_; }
    void assign(const IdList& other);
    void take(IdList& other);
    void release();

    union {
        int32_t inline_[inlineCapacity];
        int32_t* heap_;
    };
    uint32_t count_ = 0;
    uint32_t capacity_ = inlineCapacity;
};

} // namespace kinmap
