#include "base/Workspace.h"

#include <chrono>

namespace kinmap {

Clock Clock::system()
{
    Clock clock;
    clock.localTime = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    };
    clock.seconds = [] {
        return static_cast<long long>(
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
    };
    return clock;
}

Workspace::Workspace(UserInterface& userInterface) : ui(userInterface)
{
    db.onError = [this](const char* message) { errorBox("%s", message); };
    journal.onFailure = [this](const std::string& message) { errorBox("%s", message.c_str()); };
    report.onTooBig = [this](const char* message) {
        errorBox("%s", message);
        report.clear(); // what it holds is cut off
    };
}

namespace {

// A message or status text, cut to what a box or the status bar shows.
std::string shownText(const char* format, va_list args)
{
    constexpr size_t maxLength = 1000;
    std::string text = vformatText(format, args);
    cutAtCharacter(text, maxLength);
    return text;
}

} // namespace

int Workspace::errorBox(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = shownText(format, args);
    va_end(args);
    ui.errorBox(text);
    return 0;
}

void Workspace::setStatus(int part, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = shownText(format, args);
    va_end(args);
    ui.setStatus(part, text);
}

int32_t Workspace::entryAt(const IdList& list, int i)
{
    if (i >= 0 && i < list.count())
        return list[i];
    errorBox("Error: [%d] %d", i, list.count());
    return list.empty() ? 0 : list[0];
}

} // namespace kinmap
