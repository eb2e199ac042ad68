#include "PersonContextMenu.h"

#include "app/Commands.h"

#include <QMenu>

namespace kinmap::gui {

QMenu* personContextMenu(QWidget* parent, const std::function<void(uint32_t)>& runCommand)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("List Context Menu4"));
    struct Entry {
        const char* text;
        uint32_t select, deselect;
    };
    static constexpr Entry entries[] = {{"&Person", cmdSelectPerson, cmdDeselectPerson},
                                        {"&Ancestors", cmdSelectAncestors, cmdDeselectAncestors},
                                        {"&Descendants", cmdSelectDescendants, cmdDeselectDescendants},
                                        {"A&ll", cmdSelectAll, cmdDeselectAll}};
    QMenu* select = menu->addMenu(QStringLiteral("&Select"));
    QMenu* deselect = menu->addMenu(QStringLiteral("&Deselect"));
    for (const Entry& e : entries) {
        select->addAction(QString::fromLatin1(e.text), menu, [runCommand, id = e.select] { runCommand(id); });
        deselect->addAction(QString::fromLatin1(e.text), menu, [runCommand, id = e.deselect] { runCommand(id); });
    }
    menu->addSeparator();
    static constexpr std::pair<const char*, uint32_t> edits[] = {
        {"&Edit Person", cmdEditPerson},     {"Add S&pouse", cmdAddSpouse},          {"Add &Child", cmdAddChild},
        {"Add &Father", cmdAddFather},       {"Add &Mother", cmdAddMother},          {"Unlin&k from Spouse", cmdUnlinkSpouse},
        {"Unlink from P&arents", cmdUnlinkParents}, {"Dele&te", cmdDelete}};
    for (const auto& [text, id] : edits)
        menu->addAction(QString::fromLatin1(text), menu, [runCommand, id = id] { runCommand(id); });
    // Merges the person clicked before into this one.
    menu->addAction(QStringLiteral("Mer&ge"), menu, [runCommand] { runCommand(cmdMerge); });
    // How the person clicked before is related to this one.
    menu->addAction(QStringLiteral("&Relationship"), menu, [runCommand] { runCommand(cmdRelationship); });
    return menu;
}

QMenu* boxContextMenu(QWidget* parent, const std::function<void(uint32_t)>& runCommand)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("Tree Context Menu"));
    auto add = [&](QMenu* to, const char* text, uint32_t command) {
        to->addAction(QString::fromLatin1(text), menu, [runCommand, command] { runCommand(command); });
    };
    add(menu, "&Edit", cmdEditPerson);
    static constexpr std::pair<const char*, uint32_t> persons[] = {
        {"&Person", 0}, {"&Ancestors", 1}, {"&Descendants", 2}, {"A&ll", 3}};
    QMenu* select = menu->addMenu(QStringLiteral("&Select"));
    QMenu* deselect = menu->addMenu(QStringLiteral("&Deselect"));
    for (const auto& [text, offset] : persons) {
        add(select, text, cmdSelectPerson + offset);
        add(deselect, text, cmdDeselectPerson + offset);
    }
    QMenu* relatives = menu->addMenu(QStringLiteral("&Add"));
    add(relatives, "&Spouse", cmdAddSpouse);
    add(relatives, "&Child", cmdAddChild);
    add(relatives, "&Father", cmdAddFather);
    add(relatives, "&Mother", cmdAddMother);
    menu->addAction(QStringLiteral("&Unlink"))->setEnabled(false);
    add(menu, "Dele&te", cmdDelete);
    return menu;
}

} // namespace kinmap::gui
