#include "db/TextPool.h"

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

TextPool::TextPool() : base_(new char[initialCapacity])
{
    base_[0] = 0;
}

const char* TextPool::store(const char* text, size_t length)
{
    if (end_ + length + 1 > capacity_)
        return nullptr;
    char* at = base_.get() + end_;
    memcpy(at, text, length);
    at[length] = 0;
    recent_ = end_;
    end_ += length + 1;
    return at;
}

TextStore::TextStore() = default;

const char* TextStore::internText(PoolId poolId, const char* text)
{
    return internText(poolId, text ? std::string_view(text) : std::string_view());
}

const char* TextStore::internText(PoolId poolId, std::string_view text)
{
    const std::string_view form = internedForm(text);
    if (form.empty())
        return emptyText;
    const char* begin = form.data();
    const size_t length = form.size();

    TextPool& pool = pools_[poolId];
    auto equals = [&](const char* stored) { return strncmp(stored, begin, length) == 0 && stored[length] == 0; };
    if (equals(pool.mostRecent()))
        return pool.mostRecent();

    const char*& slot = hashTable_[murmurHash3(begin, length, hashSeed) & (hashSlots - 1)];
    if (slot && equals(slot))
        return slot;
    const char* copy = pool.store(begin, length);
    if (!copy) {
        if (onOverflow)
            onOverflow("\r\r\n\r\n\r\n\n!!!! Buffer overflow! !!!!\r\r\n\r\n\n");
        return emptyText;
    }
    if (!slot)
        slot = copy; // a slot keeps its first text; a collider is found again only while it is most recent
    return copy;
}

void TextStore::reset()
{
    for (TextPool& pool : pools_)
        pool = TextPool();
    hashTable_.fill(nullptr);
}

void TextStore::trimPools()
{
    for (TextPool& pool : pools_)
        pool.trim();
}

} // namespace kinmap
