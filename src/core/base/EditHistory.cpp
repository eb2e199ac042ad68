#include "base/EditHistory.h"

#include "base/Workspace.h"

#include <algorithm>

namespace kinmap {

void EditStep::savePerson(int32_t rin)
{
    if (rin > allPersonsSaved_ && personsSaved_.insert(rin).second)
        before_.persons.emplace_back(rin, db_->persons[rin]);
}

void EditStep::saveFamily(int32_t mrin)
{
    if (mrin > allFamiliesSaved_ && familiesSaved_.insert(mrin).second)
        before_.families.emplace_back(mrin, db_->families[mrin]);
}

void EditStep::saveAll(Database& db)
{
    // The change marks are taken off while the operation runs, so that its
    // own marks tell what it changed; keepMarkedOnly puts them back. Records
    // this step saved before stay as they were saved.
    allFrom_ = {before_.persons.size(), before_.families.size()};
    before_.persons.reserve(before_.persons.size() + static_cast<size_t>(db.highestRin));
    before_.families.reserve(before_.families.size() + static_cast<size_t>(db.highestMrin));
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        if (!personsSaved_.count(rin))
            before_.persons.emplace_back(rin, db.persons[rin]);
        db.persons[rin].flags &= ~Flag::changed;
    }
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin) {
        if (!familiesSaved_.count(mrin))
            before_.families.emplace_back(mrin, db.families[mrin]);
        db.families[mrin].flags &= ~Flag::changed;
    }
    allPersonsSaved_ = db.highestRin;
    allFamiliesSaved_ = db.highestMrin;
}

void EditStep::keepMarkedOnly(Database& db)
{
    // Of what saveAll saved, the records the operation marked stay.
    auto keep = [](auto& saved, size_t from, auto& records, std::unordered_set<int32_t>& savedNumbers) {
        const auto last = std::remove_if(saved.begin() + static_cast<ptrdiff_t>(from), saved.end(), [&](const auto& entry) {
            uint32_t& flags = records[entry.first].flags;
            const bool changedNow = (flags & Flag::changed) != 0;
            flags |= entry.second.flags & Flag::changed;
            return !changedNow;
        });
        saved.erase(last, saved.end());
        for (size_t i = from; i < saved.size(); ++i)
            savedNumbers.insert(saved[i].first);
    };
    // The marks of records saved before saveAll go back too.
    for (size_t i = 0; i < allFrom_.first; ++i)
        db.persons[before_.persons[i].first].flags |= before_.persons[i].second.flags & Flag::changed;
    for (size_t i = 0; i < allFrom_.second; ++i)
        db.families[before_.families[i].first].flags |= before_.families[i].second.flags & Flag::changed;
    keep(before_.persons, allFrom_.first, db.persons, personsSaved_);
    keep(before_.families, allFrom_.second, db.families, familiesSaved_);
    allPersonsSaved_ = allFamiliesSaved_ = 0;
}

void EditStep::capture(const Workspace& s, Image& image) const
{
    const Database& db = s.db;
    image.highestRin = db.highestRin;
    image.highestMrin = db.highestMrin;
    image.counters = s.counts;
    if (&image != &after_)
        return;
    // The records touched, and those added since the step began.
    image.persons.clear();
    image.families.clear();
    for (const auto& [rin, record] : before_.persons)
        if (db.validRin(rin))
            image.persons.emplace_back(rin, db.persons[rin]);
    for (int32_t rin = before_.highestRin + 1; rin <= db.highestRin; ++rin)
        if (!personsSaved_.count(rin))
            image.persons.emplace_back(rin, db.persons[rin]);
    for (const auto& [mrin, record] : before_.families)
        if (db.validMrin(mrin))
            image.families.emplace_back(mrin, db.families[mrin]);
    for (int32_t mrin = before_.highestMrin + 1; mrin <= db.highestMrin; ++mrin)
        if (!familiesSaved_.count(mrin))
            image.families.emplace_back(mrin, db.families[mrin]);
}

void EditStep::restore(Workspace& s, const Image& image) const
{
    Database& db = s.db;
    int32_t highestRin = image.highestRin, highestMrin = image.highestMrin;
    for (const auto& [rin, record] : image.persons)
        highestRin = std::max(highestRin, rin);
    for (const auto& [mrin, record] : image.families)
        highestMrin = std::max(highestMrin, mrin);
    if (db.persons.size() <= static_cast<size_t>(highestRin))
        db.persons.resize(static_cast<size_t>(highestRin) + 1);
    if (db.families.size() <= static_cast<size_t>(highestMrin))
        db.families.resize(static_cast<size_t>(highestMrin) + 1);
    for (const auto& [rin, record] : image.persons)
        db.persons[rin] = record;
    for (const auto& [mrin, record] : image.families)
        db.families[mrin] = record;
    db.highestRin = image.highestRin;
    db.highestMrin = image.highestMrin;
    s.counts = image.counters;
    s.db.rowsChanged();
}

void EditHistory::begin(Workspace& s, const std::string& label)
{
    current_ = std::make_unique<EditStep>();
    current_->label = label;
    current_->db_ = &s.db;
    current_->capture(s, current_->before_);
    s.db.recorder = current_.get();
}

void EditHistory::commit(Workspace& s)
{
    s.db.recorder = nullptr;
    std::unique_ptr<EditStep> step = std::move(current_);
    if (!step)
        return;
    const bool changed = !step->before_.persons.empty() || !step->before_.families.empty() ||
                         s.db.highestRin != step->before_.highestRin || s.db.highestMrin != step->before_.highestMrin;
    if (!changed)
        return;
    // Every change counts, so that the question before unexported changes
    // are lost asks; merges and corrections count themselves.
    const ChangeCounts& was = step->before_.counters;
    const ChangeCounts& now = s.counts;
    if (now.mergeCount == was.mergeCount && now.correctionCount == was.correctionCount &&
        now.replacementCount == was.replacementCount)
        ++s.counts.editCount;
    step->capture(s, step->after_);
    done_.push_back(std::move(step));
    undone_.clear();
}

bool EditHistory::undo(Workspace& s)
{
    if (done_.empty() || current_)
        return false;
    std::unique_ptr<EditStep> step = std::move(done_.back());
    done_.pop_back();
    step->restore(s, step->before_);
    s.journal.write("\nUndone: %s\n%s", step->label.c_str(), step->journal.c_str());
    undone_.push_back(std::move(step));
    return true;
}

bool EditHistory::redo(Workspace& s)
{
    if (undone_.empty() || current_)
        return false;
    std::unique_ptr<EditStep> step = std::move(undone_.back());
    undone_.pop_back();
    step->restore(s, step->after_);
    s.journal.write("\nRedone: %s\n%s", step->label.c_str(), step->journal.c_str());
    done_.push_back(std::move(step));
    return true;
}

void EditHistory::clear()
{
    done_.clear();
    undone_.clear();
}

EditScope::EditScope(Workspace& s, const std::string& label) : s_(s), outer_(!s.history.recording())
{
    if (outer_)
        s.history.begin(s, label);
}

EditScope::~EditScope()
{
    if (outer_)
        s_.history.commit(s_);
}

void journalEdit(Workspace& s, const std::string& text)
{
    s.journal.write("%s", text.c_str());
    if (EditStep* step = s.history.current())
        step->journal += text;
}

} // namespace kinmap
