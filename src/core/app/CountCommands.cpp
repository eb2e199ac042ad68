#include "app/CountCommands.h"

#include "app/Commands.h"
#include "app/Session.h"
#include "app/Shell.h"

namespace kinmap {

void countCommand(Session& s, CountKind kind)
{
    CountOptions& options = s.countOptions;
    bool confirmed = false;
    if (kind == CountKind::events) {
        confirmed = s.ui.askCountEvents(options.placeFilter, options.period);
    } else {
        std::string& filter = kind == CountKind::given     ? options.givenFilter
                              : kind == CountKind::surname ? options.surnameFilter
                                                           : options.placeFilter;
        confirmed = s.ui.askCount(static_cast<int>(kind), filter, options.onlySelection);
    }
    if (!confirmed)
        return;
    for (std::string* filter : {&options.givenFilter, &options.surnameFilter, &options.placeFilter})
        cutAtCharacter(*filter, CountOptions::maxFilterLength);
    runCount(s, kind);
}

void runCount(Session& s, CountKind kind)
{
    writeCount(s, s.countOptions, kind);
    s.shell.lastCommand = cmdCountGivenNames + static_cast<uint32_t>(kind);
    showView(s, reportView);
}

} // namespace kinmap
