// Deduplicating stores for surnames, given names and places. Texts are never
// moved or removed while a database exists, so records refer to them by
// plain pointers: a text reference is a pointer into a pool, the shared
// emptyText, or null when it was never set (readers treat null as empty).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace kinmap {

extern const char emptyText[];

enum PoolId { surnamePool = 0, givenPool = 1, placePool = 2 };

uint32_t murmurHash3(const void* key, size_t length, uint32_t seed);

// What a pool stores of a text: leading bytes below '(' (control bytes,
// blank, "!\"#$%&'") skipped, cut at the first line end or zero byte.
std::string_view internedForm(std::string_view text);

// One block of zero-terminated texts stored back to back.
class TextPool {
public:
    static constexpr size_t initialCapacity = 8000000;
    static constexpr size_t roomAfterTrim = 10000;

    TextPool();
    // Stores a copy of text[0..length) after the most recent text; null when
    // it does not fit.
    const char* store(const char* text, size_t length);
    const char* mostRecent() const { return base_.get() + recent_; }
    size_t usedBytes() const { return end_; }
    size_t capacity() const { return capacity_; }
    // Leaves room for roomAfterTrim more bytes; the block does not move.
    void trim() { capacity_ = end_ + roomAfterTrim; }

private:
    std::unique_ptr<char[]> base_;
    size_t capacity_ = initialCapacity;
    size_t recent_ = 0; // start of the text stored last
    size_t end_ = 1;    // just after its terminator
};

// The three pools and the hash table they share.
class TextStore {
public:
    static constexpr int hashSlots = 32768;
    static constexpr uint32_t hashSeed = 4711;

    TextStore();

    // Stores text in a pool, or finds it already stored (in any pool), and
    // returns the stored text. Leading bytes below '(' are skipped and the
    // text ends at its first line end; nothing left gives emptyText, and so
    // does a full pool (after onOverflow has been told).
    const char* internText(PoolId pool, const char* text);
    const char* internText(PoolId pool, std::string_view text);
    void trimPools();
    // Fresh empty pools and an empty hash table; every stored text is gone.
    void reset();
    const TextPool& pool(PoolId id) const { return pools_[id]; }

    std::function<void(const char* message)> onOverflow;

private:
    std::array<TextPool, 3> pools_;
    std::array<const char*, hashSlots> hashTable_{};
};

} // namespace kinmap
