#include "Dialogs.h"

#include "CountDialogs.h"
#include "EventListDialog.h"
#include "ProgramFiles.h"
#include "ProgramIcon.h"
#include "ReplaceDialog.h"
#include "SearchDialogs.h"

#include "app/Session.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace kinmap::gui {

void Dialogs::errorBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("ERROR"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool Dialogs::askYesNo(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool Dialogs::askOkCancel(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok;
}

void Dialogs::messageBox(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString Dialogs::openFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString Dialogs::saveFile(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suffix of a filter's first pattern: "GED Dateien (*.ged)" gives "ged".
    auto suffixOf = [](const QString& chosen) {
        const qsizetype star = chosen.indexOf(QLatin1String("*."));
        return star < 0 ? QString() : chosen.mid(star + 2).section(QLatin1Char(')'), 0, 0).section(QLatin1Char(' '), 0, 0);
    };
    dialog.setDefaultSuffix(suffixOf(filter.section(QStringLiteral(";;"), 0, 0)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

bool Dialogs::print(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void Dialogs::about(QWidget* parent)
{
    const QString manual = programFile(QStringLiteral("manual.html"));
    QString text = QStringLiteral("<p><b>kinmap!</b> &nbsp;Version %1</p>"
                                  "<p>Editor and checker for genealogical data in GED files.</p>"
                                  "<p>Built with Qt %2 (running on Qt %3).<br>"
                                  "Licence: all rights reserved; no licence has been granted yet.</p>")
                       .arg(QString::fromLatin1(programVersion), QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
    if (!manual.isEmpty())
        text += QStringLiteral("<p><a href=\"%1\">The manual</a></p>").arg(QUrl::fromLocalFile(manual).toString());
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("INFO"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::RichText);
    box.setIconPixmap(programIcon().pixmap(64, 64));
    box.exec();
}

bool Dialogs::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace kinmap::gui

namespace kinmap::gui {

bool Dialogs::searchPersons(QWidget* parent, SearchOptions& options)
{
    SearchDialog dialog(SearchDialog::Kind::persons, options, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Dialogs::searchEvents(QWidget* parent, SearchOptions& options)
{
    SearchDialog dialog(SearchDialog::Kind::events, options, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Dialogs::eventList(QWidget* parent, const QString& title, SearchOptions& options)
{
    EventListDialog dialog(title, options, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Dialogs::count(QWidget* parent, int mode, std::string& filter, bool& onlySelection)
{
    CountDialog dialog(mode, filter, onlySelection, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    filter = dialog.filter();
    return true;
}

bool Dialogs::countEvents(QWidget* parent, std::string& place, int& period)
{
    CountEventsDialog dialog(place, period, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    place = dialog.place();
    period = dialog.period();
    return true;
}

void Dialogs::replace(QWidget* parent, ReplaceOptions& options, const std::function<void()>& replace)
{
    ReplaceDialog dialog(options, replace, parent);
    dialog.exec();
}

bool Dialogs::generations(QWidget* parent, const QString& title, bool withFollowing, int& generations, int& following)
{
    GenerationsDialog dialog(title, withFollowing, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    generations = dialog.generations();
    following = dialog.following();
    return true;
}

} // namespace kinmap::gui
