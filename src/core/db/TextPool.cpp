#include "db/TextPool.h"

#include <algorithm>
#include <cstring>

namespace kinmap {

const char emptyText[] = "";

namespace {

uint32_t rotl32(uint32_t x, int r) { return (x << r) | (x >> (32 - r)); }

} // namespace

uint32_t murmurHash3(const void* key, size_t length, uint32_t seed)
{
    const auto* data = static_cast<const uint8_t*>(key);
    const size_t blocks = length / 4;
    constexpr uint32_t c1 = 0xcc9e2d51, c2 = 0x1b873593;
    uint32_t h = seed;
    for (size_t i = 0; i < blocks; ++i) {
        const uint8_t* b = data + i * 4;
        uint32_t k = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        k *= c1;
        k = rotl32(k, 15);
        k *= c2;
        h ^= k;
        h = rotl32(h, 13);
        h = h * 5 + 0xe6546b64;
    }
    const uint8_t* tail = data + blocks * 4;
    uint32_t k = 0;
    switch (length & 3) {
    case 3:
        k ^= uint32_t(tail[2]) << 16;
        [[fallthrough]];
    case 2:
        k ^= uint32_t(tail[1]) << 8;
        [[fallthrough]];
    case 1:
        k ^= tail[0];
        k *= c1;
        k = rotl32(k, 15);
        k *= c2;
        h ^= k;
    }
    h ^= static_cast<uint32_t>(length);
    h ^= h >> 16;
    h *= 0x85ebca6b;
    h ^= h >> 13;
    h *= 0xc2b2ae35;
    h ^= h >> 16;
    return h;
}

std::string_view internedForm(std::string_view text)
{
    size_t start = 0;
    while (start < text.size() && text[start] != 0 && static_cast<unsigned char>(text[start]) < 0x28)
        ++start;
    size_t end = start;
    while (end < text.size() && text[end] != 0 && text[end] != '\r' && text[end] != '\n')
        ++end;
    return text.substr(start, end - start);
}

const char* TextArena::store(std::string_view text)
{
    const size_t needed = text.size() + 1;
    if (needed > left_) {
        const size_t size = std::max(nextBlockSize_, needed);
        blocks_.emplace_back(new char[size]);
        next_ = blocks_.back().get();
        left_ = size;
        nextBlockSize_ = std::min(nextBlockSize_ * 2, largestBlockSize);
    }
    char* at = next_;
    memcpy(at, text.data(), text.size());
    at[text.size()] = 0;
    next_ += needed;
    left_ -= needed;
    used_ += needed;
    return at;
}

const char* TextStore::internText(PoolId poolId, std::string_view text)
{
    const std::string_view form = internedForm(text);
    if (form.empty())
        return emptyText;
    Stored& recent = memory_->mostRecent[poolId];
    if (recent.equals(form))
        return recent.text;
    if (!hashTable_)
        hashTable_.reset(new Stored[slotCount_]());
    const uint32_t index = murmurHash3(form.data(), form.size(), hashSeed) & (slotCount_ - 1);
    Stored& slot = hashTable_[index];
    if (slot.equals(form))
        return slot.text;
    recent = {memory_->pools[poolId].store(form), form.size()};
    if (!slot.text) { // a slot keeps its first text; a collider is found again only while it is most recent
        slot = recent;
        usedSlots_.push_back(static_cast<uint16_t>(index));
    }
    return recent.text;
}

void TextStore::reset(uint32_t slots)
{
    memory_ = std::make_shared<Memory>();
    if (slots != slotCount_) {
        hashTable_.reset();
        slotCount_ = slots;
    } else if (hashTable_) {
        for (const uint16_t slot : usedSlots_)
            hashTable_[slot] = {};
    }
    usedSlots_.clear();
}

uint32_t TextStore::slotsFor(size_t texts)
{
    uint32_t slots = fewestHashSlots;
    while (slots < hashSlots && slots < texts)
        slots *= 2;
    return slots;
}

} // namespace kinmap
