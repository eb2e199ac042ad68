#include "TerminalUi.h"

#include "db/Utf8.h"

#include <cstdio>

namespace kinmap {

std::string TerminalUi::forTerminal(const std::string& text) const
{
    return raw_ ? utf8ToLatin1(text) : text;
}

void TerminalUi::errorBox(const std::string& text)
{
    fprintf(stderr, "ERROR: %s\n", forTerminal(text).c_str());
}

bool TerminalUi::askYesNo(const std::string& title, const std::string& text, MessageIcon)
{
    fprintf(stderr, "%s: %s\n(answered %s)\n", forTerminal(title).c_str(), forTerminal(text).c_str(), answerYes ? "Yes" : "No");
    return answerYes;
}

bool TerminalUi::askEditPerson(PersonForm& form)
{
    if (forms.empty())
        return false;
    const std::string caption = form.caption;
    form = forms.front();
    form.caption = caption;
    forms.pop_front();
    return true;
}

bool TerminalUi::askOkCancel(const std::string& title, const std::string& text, MessageIcon)
{
    fprintf(stderr, "%s: %s\n(answered OK)\n", forTerminal(title).c_str(), forTerminal(text).c_str());
    return true;
}

void TerminalUi::messageBox(const std::string& title, const std::string& text, MessageIcon)
{
    fprintf(stderr, "%s: %s\n", forTerminal(title).c_str(), forTerminal(text).c_str());
}

void TerminalUi::setStatus(int part, const std::string& text)
{
    if (part == 0)
        lastStatus_ = text;
    if (statusToStderr && !text.empty())
        fprintf(stderr, "%s\n", forTerminal(text).c_str());
}

} // namespace kinmap
