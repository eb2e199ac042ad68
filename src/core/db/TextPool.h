// Deduplicating stores for surnames, given names and places (UTF-8). Texts
// are never moved or removed while a database exists, so records refer to
// them by plain pointers: a text reference is a pointer into a pool, the
// shared emptyText, or null when it was never set (readers treat null as
// empty). The pools grow block by block as texts are added.
#pragma once

#include <array>
#include <cstring>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kinmap {

extern const char emptyText[];

enum PoolId { surnamePool = 0, givenPool = 1, placePool = 2 };

uint32_t murmurHash3(const void* key, size_t length, uint32_t seed);

// What a pool stores of a text: leading bytes below '(' (control bytes,
// blank, "!\"#$%&'") skipped, cut at the first line end or zero byte.
std::string_view internedForm(std::string_view text);

// Zero-terminated texts in blocks that never move; a block is added when
// the last one is full, each twice as large as the one before (up to a
// limit), so a small file costs little and a large one few allocations.
class TextArena {
public:
    static constexpr size_t firstBlockSize = 16 * 1024;
    static constexpr size_t largestBlockSize = 4 * 1024 * 1024;

    const char* store(std::string_view text);
    size_t usedBytes() const { return used_; }
    size_t blockCount() const { return blocks_.size(); }

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* next_ = nullptr;
    size_t left_ = 0;
    size_t nextBlockSize_ = firstBlockSize;
    size_t used_ = 0;
};

// The three pools, the hash table they share, and the record identifiers
// that a file spells in its own way.
class TextStore {
public:
    static constexpr uint32_t hashSlots = 32768; // the most; a small file gets fewer
    static constexpr uint32_t fewestHashSlots = 1024;
    static constexpr uint32_t hashSeed = 4711;

    TextStore() { reset(); }

    // Stores text in a pool, or finds it already stored (in any pool), and
    // returns the stored text. Leading bytes below '(' are skipped and the
    // text ends at its first line end; nothing left gives emptyText.
    const char* internText(PoolId pool, std::string_view text);
    // A record identifier as the file spells it ("@PERSON1@").
    const char* storeIdentifier(std::string_view text) { return memory_->identifiers.store(text); }
    // Fresh empty pools and an empty hash table of `slots` slots (a power of
    // two); every stored text is gone (once nobody keeps the old memory alive).
    void reset(uint32_t slots = hashSlots);
    // The slots for about this many different texts.
    static uint32_t slotsFor(size_t texts);
    size_t usedBytes(PoolId pool) const { return memory_->pools[pool].usedBytes(); }
    const TextArena& arena(PoolId pool) const { return memory_->pools[pool]; }

    // Keeps the memory of the texts stored so far alive for a reader on
    // another thread, also across a reset.
    std::shared_ptr<const void> keepAlive() const { return memory_; }

private:
    // A stored text with its length, so that comparing it reads no further.
    struct Stored {
        const char* text = nullptr;
        size_t length = 0;
        bool equals(std::string_view other) const
        {
            return text && length == other.size() && memcmp(text, other.data(), length) == 0;
        }
    };
    struct Memory {
        std::array<TextArena, 3> pools;
        std::array<Stored, 3> mostRecent;
        TextArena identifiers;
    };
    std::shared_ptr<Memory> memory_;
    // Allocated with the first text; a reset empties only the slots in use.
    std::unique_ptr<Stored[]> hashTable_;
    uint32_t slotCount_ = 0;
    std::vector<uint16_t> usedSlots_;
};

} // namespace kinmap
