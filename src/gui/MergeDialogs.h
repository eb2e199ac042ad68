// MERGE PERSONS, where the user sees the kept person A beside person B and
// ticks which of B's values replace A's; and the preview of the pairs an
// automatic duplicate search is about to merge.
#pragma once

#include "base/UserInterface.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;

namespace kinmap {
struct CandidatePair;
struct MergeFields;
} // namespace kinmap

namespace kinmap::gui {

class MergePersonsDialog : public QDialog {
    Q_OBJECT

public:
    MergePersonsDialog(MergeFields& fields, QWidget* parent = nullptr);
    MergeAnswer answer() const { return answer_; }
    QCheckBox* takeBox(int field) const { return boxes_[static_cast<size_t>(field)]; }
    // YES, NO or CANCEL.
    void press(MergeAnswer answer);

private:
    MergeFields& fields_;
    std::array<QCheckBox*, 10> boxes_{};
    MergeAnswer answer_ = MergeAnswer::cancel;
};

class MergePreviewDialog : public QDialog {
    Q_OBJECT

public:
    MergePreviewDialog(const std::vector<CandidatePair>& pairs, QWidget* parent = nullptr);
};

} // namespace kinmap::gui
