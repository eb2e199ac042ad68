#include "db/IdList.h"

#include <algorithm>
#include <new>

namespace kinmap {

void IdList::assign(const IdList& other)
{
    count_ = 0;
    capacity_ = inlineCapacity;
    if (other.count_ > inlineCapacity) {
        heap_ = new int32_t[other.count_];
        capacity_ = other.count_;
    }
    std::copy(other.begin(), other.end(), data());
    count_ = other.count_;
}

void IdList::take(IdList& other)
{
    count_ = other.count_;
    capacity_ = other.capacity_;
    if (other.onHeap())
        heap_ = other.heap_;
    else
        std::copy(other.inline_, other.inline_ + other.count_, inline_);
    other.count_ = 0;
    other.capacity_ = inlineCapacity;
}

void IdList::release()
{
    if (onHeap())
        delete[] heap_;
    count_ = 0;
    capacity_ = inlineCapacity;
}

IdList& IdList::operator=(const IdList& other)
{
    if (this != &other) {
        release();
        assign(other);
    }
    return *this;
}

IdList& IdList::operator=(IdList&& other) noexcept
{
    if (this != &other) {
        release();
        take(other);
    }
    return *this;
}

bool IdList::contains(int32_t value) const
{
    return std::find(begin(), end(), value) != end();
}

bool IdList::append(int32_t value)
{
    if (count_ == capacity_) {
        const uint32_t grown = capacity_ * 2;
        auto* items = new (std::nothrow) int32_t[grown];
        if (!items)
            return false;
        std::copy(begin(), end(), items);
        const uint32_t count = count_;
        release();
        count_ = count;
        heap_ = items;
        capacity_ = grown;
    }
    data()[count_++] = value;
    return true;
}

void IdList::removeValue(int32_t value)
{
    count_ = static_cast<uint32_t>(std::remove(begin(), end(), value) - begin());
}

void IdList::removeOneCopy(int32_t value)
{
    const int32_t* at = std::find(begin(), end(), value);
    if (at != end())
        removeAt(static_cast<int>(at - begin()));
}

void IdList::removeAt(int i)
{
    std::copy(begin() + i + 1, end(), begin() + i);
    --count_;
}

void IdList::clear()
{
    release();
}

} // namespace kinmap
