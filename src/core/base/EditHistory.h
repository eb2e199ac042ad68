// Undo and redo. Each operation that changes the data runs as one step: the
// records it touches are saved before they change and again when it ends,
// with the highest numbers and the change counters, so that undo puts the
// earlier images back and redo the later ones. The steps last until the data
// is exported or replaced; an operation that cannot be undone (Find Errors)
// ends them.
#pragma once

#include "db/Database.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace kinmap {

class Workspace;

// Changes not yet exported, for the question before they are lost, and the
// number of selected persons; undo puts them back with the records.
struct ChangeCounts {
    int32_t mergeCount = 0, correctionCount = 0, replacementCount = 0, editCount = 0, selectedCount = 0;
};

class EditStep : public ChangeRecorder {
public:
    std::string label;   // "Add spouse"
    std::string journal; // what the operation wrote to the journal

    void savePerson(int32_t rin) override;
    void saveFamily(int32_t mrin) override;
    // Saves every record, for an operation that cannot tell each one before
    // it changes it but marks each it changed; keepMarkedOnly then keeps
    // those it marked.
    void saveAll(Database& db);
    void keepMarkedOnly(Database& db);

private:
    friend class EditHistory;
    struct Image {
        std::vector<std::pair<int32_t, PersonRecord>> persons;
        std::vector<std::pair<int32_t, FamilyRecord>> families;
        int32_t highestRin = 0, highestMrin = 0;
        ChangeCounts counters;
    };
    void capture(const Workspace& s, Image& image) const;
    void restore(Workspace& s, const Image& image) const;

    const Database* db_ = nullptr;
    std::unordered_set<int32_t> personsSaved_, familiesSaved_;
    int32_t allPersonsSaved_ = 0, allFamiliesSaved_ = 0; // saveAll saved every record up to these
    std::pair<size_t, size_t> allFrom_;                  // where saveAll's persons and families begin
    Image before_, after_;
};

class EditHistory {
public:
    // Starts a step; the records touched until commit belong to it.
    void begin(Workspace& s, const std::string& label);
    // Ends the step; a step that touched nothing and added nothing is dropped.
    void commit(Workspace& s);
    bool recording() const { return current_ != nullptr; }
    EditStep* current() { return current_.get(); }

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    const std::string& undoLabel() const { return done_.back()->label; }
    const std::string& redoLabel() const { return undone_.back()->label; }
    // False when there is nothing to undo or redo.
    bool undo(Workspace& s);
    bool redo(Workspace& s);
    void clear();

private:
    std::unique_ptr<EditStep> current_;
    std::vector<std::unique_ptr<EditStep>> done_, undone_;
};

// One operation as one step: begins with the scope, commits at its end (an
// operation inside another belongs to the outer one).
class EditScope {
public:
    EditScope(Workspace& s, const std::string& label);
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

private:
    Workspace& s_;
    bool outer_;
};

// Writes a line of an operation to the journal and keeps it with the step.
void journalEdit(Workspace& s, const std::string& text);

} // namespace kinmap
