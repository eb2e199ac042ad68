#include "base/Format.h"

#include <cstdio>
#include <cstring>

namespace kinmap {

std::string vformatText(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    char small[512];
    const int needed = vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed <= 0)
        return {};
    std::string text;
    if (static_cast<size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<size_t>(needed));
    } else {
        text.resize(static_cast<size_t>(needed));
        vsnprintf(text.data(), text.size() + 1, format, args);
    }
    for (char& c : text)
        if (c == 0)
            c = ' ';
    return text;
}

std::string formatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformatText(format, args);
    va_end(args);
    return text;
}

void cutAtCharacter(std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return;
    size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
}

bool firstValueIsZero(const char* format, va_list args)
{
    const char* p = format;
    while ((p = strchr(p, '%')) != nullptr) {
        ++p;
        if (*p == '%') {
            ++p;
            continue;
        }
        p += strspn(p, "-+ #0'");
        if (*p == '*') // the width is the first value
            break;
        p += strspn(p, "0123456789");
        if (*p == '.') {
            ++p;
            if (*p == '*')
                break;
            p += strspn(p, "0123456789");
        }
        int longs = 0;
        while (*p && strchr("hlLqjzt", *p)) {
            if (*p == 'l' || *p == 'j' || *p == 'z' || *p == 't' || *p == 'q')
                ++longs;
            ++p;
        }
        va_list copy;
        va_copy(copy, args);
        bool zero = false;
        switch (*p) {
        case 's':
        case 'p':
        case 'n':
            zero = va_arg(copy, const void*) == nullptr;
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            zero = va_arg(copy, double) == 0.0;
            break;
        default:
            zero = longs >= 2 ? va_arg(copy, long long) == 0 : longs == 1 ? va_arg(copy, long) == 0 : va_arg(copy, int) == 0;
            break;
        }
        va_end(copy);
        return zero;
    }
    if (p) { // a '*' width or precision: that int is the first value
        va_list copy;
        va_copy(copy, args);
        const bool zero = va_arg(copy, int) == 0;
        va_end(copy);
        return zero;
    }
    return false;
}

} // namespace kinmap
