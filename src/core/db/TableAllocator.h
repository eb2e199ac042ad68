// The allocator of the person and family tables. A table of a large file
// spans tens of megabytes that the import touches page by page; on systems
// that allow it the block is asked for in huge pages, which spares most of
// those page faults.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace kinmap {

template <class T>
struct TableAllocator {
    using value_type = T;
    static constexpr size_t hugePage = size_t(2) << 20;

    TableAllocator() = default;
    template <class U>
    TableAllocator(const TableAllocator<U>&) noexcept
    {
    }

    T* allocate(size_t n)
    {
        const size_t bytes = n * sizeof(T);
        if (bytes < 2 * hugePage)
            return static_cast<T*>(::operator new(bytes));
        const size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
        void* block = std::aligned_alloc(hugePage, rounded);
        if (!block)
            throw std::bad_alloc();
        madvise(block, rounded, MADV_HUGEPAGE);
        return static_cast<T*>(block);
    }

    void deallocate(T* p, size_t n) noexcept
    {
        if (n * sizeof(T) < 2 * hugePage)
            ::operator delete(p);
        else
            std::free(p);
    }

    template <class U>
    bool operator==(const TableAllocator<U>&) const noexcept
    {
        return true;
    }
};

} // namespace kinmap
