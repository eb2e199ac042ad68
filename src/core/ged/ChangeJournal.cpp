#include "ged/ChangeJournal.h"

#include <cstdarg>
#include <cstdio>

namespace kinmap {

std::string fileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ChangeJournal::workingPathFor(const std::string& gedPath)
{
    const size_t slash = gedPath.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string() : gedPath.substr(0, slash + 1);
    return folder + "kinmap.log";
}

void ChangeJournal::write(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformatText(format, args);
    va_end(args);
    if (text.size() > maxFormattedLength)
        text.resize(maxFormattedLength);
    writeText(text.data(), text.size());
}

void ChangeJournal::writeText(const char* text, size_t length)
{
    if (workingPath.empty())
        return;
    FILE* file = fopen(workingPath.c_str(), "ab");
    if (!file)
        return;
    std::string lines;
    lines.reserve(length + length / 16);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            lines += '\r';
        lines += text[i];
    }
    fwrite(lines.data(), 1, lines.size(), file);
    fclose(file);
}

std::string journalStamp(const std::tm& t)
{
    static constexpr const char* days[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
    static constexpr const char* months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return formatText("%.3s %.3s%3d %d %.2d:%.2d\r\n", days[(t.tm_wday % 7 + 7) % 7], months[(t.tm_mon % 12 + 12) % 12],
                      t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min);
}

} // namespace kinmap
