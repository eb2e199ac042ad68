#include "base/ReportBuffer.h"

#include <cstring>
#include <new>

namespace kinmap {

ReportBuffer::ReportBuffer() : block_(new char[initialCapacity])
{
    block_[0] = 0;
}

bool ReportBuffer::growTo(long long needed)
{
    long long capacity = capacity_;
    do
        capacity *= 10;
    while (capacity < needed);
    char* grown = capacity <= fullLength ? new (std::nothrow) char[static_cast<size_t>(capacity)] : nullptr;
    if (!grown) {
        if (onTooBig)
            onTooBig("\r\ntoo big output\r\n");
        block_[0] = 0;
        length_ = fullLength;
        return false;
    }
    memcpy(grown, block_.get(), static_cast<size_t>(length_) + 1);
    block_.reset(grown);
    capacity_ = static_cast<int>(capacity);
    return true;
}

void ReportBuffer::append(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    vappend(format, args);
    va_end(args);
}

void ReportBuffer::vappend(const char* format, va_list args)
{
    if (firstValueIsZero(format, args) || isFull())
        return;
    if (length_ == 0 && capacity_ != initialCapacity) {
        block_.reset(new char[initialCapacity]);
        capacity_ = initialCapacity;
    }
    const std::string piece = vformatText(format, args);
    // The room kept free takes a usual piece; a longer one grows the block
    // until it fits.
    const long long needed = static_cast<long long>(length_) + static_cast<long long>(piece.size()) + 1;
    if (length_ > capacity_ - roomPerAppend || needed > capacity_)
        if (!growTo(needed + roomPerAppend))
            return;
    memcpy(block_.get() + length_, piece.data(), piece.size());
    length_ += static_cast<int>(piece.size());
    block_[length_] = 0;
}

} // namespace kinmap
