// The small growable list that carries every link between persons and
// families: at most 127 record numbers, grown one slot at a time because
// nearly every list holds one to three entries.
#pragma once

#include <cstdint>

namespace kinmap {

class IdList {
public:
    static constexpr int maxEntries = 127;

    IdList() = default;
    IdList(const IdList& other);
    IdList& operator=(const IdList& other);
    IdList(IdList&& other) noexcept;
    IdList& operator=(IdList&& other) noexcept;
    ~IdList() { delete[] items_; }

    int count() const { return count_; }
    int capacity() const { return capacity_; }
    bool empty() const { return count_ == 0; }
    // Unchecked read; code that reads by an index it did not bound itself
    // goes through entryAt, which reports a bad index.
    int32_t operator[](int i) const { return items_[i]; }
    const int32_t* begin() const { return items_; }
    const int32_t* end() const { return items_ + count_; }

    bool contains(int32_t value) const;

    enum class AppendResult { appended, listFull, noMemory };
    // Adds value at the end; a full list stays as it is.
    AppendResult append(int32_t value);
    // Removes every entry equal to value, keeping the order of the others.
    void removeValue(int32_t value);
    // Removes the first entry equal to value (one copy of a doubled link).
    void removeOneCopy(int32_t value);
    void clear();

private:
    int32_t* items_ = nullptr;
    int8_t count_ = 0;
    int8_t capacity_ = 0;
};

} // namespace kinmap
