// What the window shows before a file is open: what kinmap does, a button
// to import a GED file, the recent files and the sample file as links, and
// the manual.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace kinmap::gui {

class StartPage : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> import;
        std::function<void(const QString& path)> open;
        std::function<void()> manual;
    };
    explicit StartPage(Actions actions, QWidget* parent = nullptr);

    // The recent files, newest first; missing ones are shown too (opening
    // one offers to remove it).
    void setRecentFiles(const QStringList& paths);
    QPushButton* importButton() const { return import_; }
    QLabel* recentList() const { return recent_; }
    QLabel* links() const { return links_; }

private:
    void follow(const QString& link);

    Actions actions_;
    QPushButton* import_;
    QLabel* recent_;
    QLabel* links_;
};

} // namespace kinmap::gui
