// The Report tab after a semiautomatic duplicate search: each pair found
// with a check box and its two persons, under the buttons Check all,
// Uncheck all, Merge now and Cancel. A click on a person makes it the
// current one; pairs already merged are greyed.
#pragma once

#include <QScrollArea>

#include <vector>

class QCheckBox;
class QLabel;

namespace kinmap {
class Session;
}

namespace kinmap::gui {

class CandidateListView : public QWidget {
    Q_OBJECT

public:
    explicit CandidateListView(Session& session, QWidget* parent = nullptr);
    int pairCount() const { return static_cast<int>(rows_.size()); }
    QCheckBox* checkBox(int pair) const { return rows_[static_cast<size_t>(pair)].box; }
    QLabel* personBox(int pair, int which) const
    {
        return which == 0 ? rows_[static_cast<size_t>(pair)].first : rows_[static_cast<size_t>(pair)].second;
    }
    // The buttons by their text.
    void press(const QString& button);

private:
    struct Row {
        QCheckBox* box;
        QLabel *first, *second;
    };
    void showStates();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Session& session_;
    QScrollArea* scroll_;
    std::vector<Row> rows_;
};

} // namespace kinmap::gui
