// The growing text that every reporting command writes to; the Report tab
// shows it, the journal and output files take copies of it.
#pragma once

#include "base/Format.h"

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>

namespace kinmap {

class ReportBuffer {
public:
    static constexpr int initialCapacity = 10000;
    static constexpr int roomPerAppend = 200;
    static constexpr int fullLength = 0x7FFFFFFF;

    ReportBuffer();

    // Appends the formatted text, unless the first value is a number 0 or a
    // null text (so a piece with a missing name disappears), or the report
    // is full. A format that reads no value is appended as it is.
    void append(const char* format, ...) KINMAP_PRINTF(2, 3);
    void vappend(const char* format, va_list args);
    // Empties the report; the next append starts a fresh block.
    void clear()
    {
        length_ = 0;
        block_[0] = 0;
        ++clears_;
    }
    // How often the report was emptied: what was told of it before is gone
    // once this changes.
    uint64_t clears() const { return clears_; }

    const char* text() const { return block_.get(); }
    // A full report is empty: the error box that told of it cleared it.
    int length() const { return isFull() ? 0 : length_; }
    int capacity() const { return capacity_; }
    bool isFull() const { return length_ == fullLength; }

    // Told when the report cannot grow ("too big output"); the error box.
    std::function<void(const char* message)> onTooBig;

private:
    bool growTo(long long needed);

    std::unique_ptr<char[]> block_;
    int length_ = 0;
    int capacity_ = initialCapacity;
    uint64_t clears_ = 0;
};

} // namespace kinmap
