#include "db/IdList.h"

#include <algorithm>
#include <new>

namespace kinmap {

IdList::IdList(const IdList& other)
{
    *this = other;
}

IdList& IdList::operator=(const IdList& other)
{
    if (this == &other)
        return *this;
    clear();
    if (other.count_ > 0) {
        items_ = new int32_t[static_cast<size_t>(other.count_)];
        std::copy(other.begin(), other.end(), items_);
        count_ = capacity_ = other.count_;
    }
    return *this;
}

IdList::IdList(IdList&& other) noexcept
    : items_(other.items_), count_(other.count_), capacity_(other.capacity_)
{
    other.items_ = nullptr;
    other.count_ = other.capacity_ = 0;
}

IdList& IdList::operator=(IdList&& other) noexcept
{
    if (this != &other) {
        delete[] items_;
        items_ = other.items_;
        count_ = other.count_;
        capacity_ = other.capacity_;
        other.items_ = nullptr;
        other.count_ = other.capacity_ = 0;
    }
    return *this;
}

bool IdList::contains(int32_t value) const
{
    return std::find(begin(), end(), value) != end();
}

IdList::AppendResult IdList::append(int32_t value)
{
    if (count_ == maxEntries)
        return AppendResult::listFull;
    if (count_ + 1 > capacity_) {
        auto* grown = new (std::nothrow) int32_t[static_cast<size_t>(count_) + 1];
        if (!grown)
            return AppendResult::noMemory;
        std::copy(begin(), end(), grown);
        delete[] items_;
        items_ = grown;
        capacity_ = static_cast<int8_t>(count_ + 1);
    }
    items_[count_++] = value;
    return AppendResult::appended;
}

void IdList::removeValue(int32_t value)
{
    count_ = static_cast<int8_t>(std::remove(items_, items_ + count_, value) - items_);
}

void IdList::removeOneCopy(int32_t value)
{
    int32_t* at = std::find(items_, items_ + count_, value);
    if (at == end())
        return;
    std::copy(at + 1, items_ + count_, at);
    --count_;
}

void IdList::clear()
{
    delete[] items_;
    items_ = nullptr;
    count_ = capacity_ = 0;
}

} // namespace kinmap
