#include "app/EditCommands.h"

#include "app/Commands.h"
#include "app/SearchCommands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "edit/LinkEdits.h"
#include "ged/PersonText.h"

namespace kinmap {

void editCommand(Session& s, uint32_t command)
{
    editCommand(s, command, s.shell.currentPerson);
}

void editCommand(Session& s, uint32_t command, int32_t p)
{
    if (command == cmdAddNewPerson) {
        addNewPerson(s);
        showView(s, s.shell.currentView < 0 ? listView : s.shell.currentView);
        return;
    }
    if (!s.db.isPerson(p))
        return;
    struct Prompt {
        uint32_t command;
        const char* caption;
    };
    static constexpr Prompt prompts[] = {{cmdAddSpouse, "ADD SPOUSE TO:"},
                                         {cmdAddChild, "ADD CHILD TO:"},
                                         {cmdAddFather, "ADD FATHER TO:"},
                                         {cmdAddMother, "ADD MOTHER TO:"}};
    for (const Prompt& prompt : prompts) {
        if (prompt.command != command)
            continue;
        std::string text;
        if (!s.ui.askRin(formCaption(s, prompt.caption, p), text))
            return;
        const int32_t other = typedRin(s, text);
        if (other < 0)
            return;
        switch (command) {
        case cmdAddSpouse:
            other ? void(addSpouse(s, p, other)) : void(addNewSpouse(s, p));
            break;
        case cmdAddChild:
            other ? void(addChild(s, s.shell.currentFamilyIndex, p, other)) : void(addNewChildren(s, s.shell.currentFamilyIndex, p));
            break;
        case cmdAddFather:
            other ? void(addFather(s, p, other)) : void(addNewParent(s, p, true));
            break;
        default:
            other ? void(addMother(s, p, other)) : void(addNewParent(s, p, false));
            break;
        }
        showView(s, s.shell.currentView < 0 ? listView : s.shell.currentView);
        return;
    }
    switch (command) {
    case cmdEditPerson:
        editPerson(s, s.shell.currentFamilyIndex, p);
        break;
    case cmdUnlinkSpouse:
        unlinkSpouse(s, s.shell.currentFamilyIndex, s.shell.currentPerson, p);
        break;
    case cmdUnlinkParents:
        unlinkParents(s, p);
        break;
    case cmdDelete:
        deletePerson(s, p);
        break;
    default:
        return;
    }
    showView(s, s.shell.currentView < 0 ? listView : s.shell.currentView);
}

void personMenuCommand(Session& s, uint32_t command, int32_t rin)
{
    if (command >= cmdSelectPerson && command <= cmdDeselectAll)
        selectionCommand(s, command, rin);
    else
        editCommand(s, command, rin);
    showView(s, s.shell.currentView < 0 ? listView : s.shell.currentView);
}

void undoCommand(Session& s)
{
    if (!s.history.undo(s))
        s.setStatus(1, "%s", "Nothing to undo");
}

void redoCommand(Session& s)
{
    if (!s.history.redo(s))
        s.setStatus(1, "%s", "Nothing to redo");
}

PersonForm openPersonForm(Session& s, int32_t rin, const std::string& caption)
{
    return openPersonForm(static_cast<Workspace&>(s), s.shell.currentFamilyIndex, rin, caption);
}

std::string savePersonEdit(Session& s, const PersonForm& form)
{
    return savePersonEdit(s, s.shell.currentFamilyIndex, form);
}

bool addChild(Session& s, int32_t rin, int32_t child)
{
    return addChild(s, s.shell.currentFamilyIndex, rin, child);
}

bool unlinkSpouse(Session& s, int32_t rin)
{
    return unlinkSpouse(s, s.shell.currentFamilyIndex, s.shell.currentPerson, rin);
}

bool deletePerson(Session& s, int32_t rin)
{
    EditScope undoable(s, "Delete person");
    if (!deletePerson(static_cast<Workspace&>(s), rin))
        return false;
    // Lines of other records that point to the person go with it in the next
    // export; the journal says where.
    for (const int32_t holder : personsPointingTo(s.db, s.gedFile, s.db.personXref(rin)))
        if (holder != rin && s.db.isPerson(holder))
            journalEdit(s, formatText("Pointer to rin %d removed from rin %d\n", rin, holder));
    s.errorRows.removePerson(s.errors, rin);
    return true;
}

} // namespace kinmap
