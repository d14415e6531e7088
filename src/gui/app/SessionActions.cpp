#include "SessionActions.h"

#include "DataEntry.h"
#include "MainWindow.h"
#include "SessionRestore.h"

#include "util/RandomGenerator.h"

#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>

namespace ivra {

namespace {

const char* const filter = QT_TRANSLATE_NOOP("ivra::SessionActions", "Ivra sessions (*.ivra);;All files (*)");

} // namespace

SessionActions::SessionActions(MainWindow* app, QMenu* fileMenu) : QObject(app), app_(app)
{
    fileMenu->addAction(tr("Save Session..."), this, &SessionActions::saveAs);
    fileMenu->addAction(tr("Open Session..."), this, &SessionActions::open);
}

bool SessionActions::saveSession(MainWindow& app, const QString& path, QString& error)
{
    QByteArray text;
    try {
        text = sessionText(*app.root(), app.runCounters(), RandomGenerator::instance().state());
    } catch (const std::exception& e) {
        error = QString::fromStdString(e.what());
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) {
        app.markSessionSaved();
        return true;
    }
    error = file.errorString();
    return false;
}

bool SessionActions::openSession(MainWindow& app, const QString& path, bool replace, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = tr("%1: %2").arg(path, file.errorString());
        return false;
    }
    Session session;
    try {
        session = readSession(file.readAll());
    } catch (const std::exception& e) {
        error = tr("%1: %2").arg(path, QString::fromStdString(e.what()));
        return false;
    }
    const bool replacesAll = replace || app.root()->children().empty();
    if (replace)
        app.root()->clearChildren();
    const SessionOutcome outcome = restoreSession(app, session);
    if (replacesAll) // everything shown now comes from the file
        app.markSessionSaved();
    error = outcome.skipped.join(QLatin1Char('\n'));
    if (outcome.cancelled)
        error += (error.isEmpty() ? "" : "\n") + tr("Cancelled: %n entries restored.", nullptr, outcome.restored);
    return true;
}

void SessionActions::saveAs()
{
    const QString path = QFileDialog::getSaveFileName(app_, tr("Save Session"), QString(), tr(filter));
    QString error;
    if (!path.isEmpty() && !saveSession(*app_, path, error))
        QMessageBox::critical(app_, tr("Save Session"), tr("Could not save the session: %1").arg(error));
}

void SessionActions::open()
{
    const QString path = QFileDialog::getOpenFileName(app_, tr("Open Session"), QString(), tr(filter));
    if (path.isEmpty())
        return;
    bool replace = false;
    if (!app_->root()->children().empty()) {
        QMessageBox ask(QMessageBox::Question, tr("Open Session"),
                        tr("The workbench is not empty. Add the session to it or replace its contents?"),
                        QMessageBox::Cancel, app_);
        QPushButton* add = ask.addButton(tr("Add"), QMessageBox::AcceptRole);
        QPushButton* replaceButton = ask.addButton(tr("Replace"), QMessageBox::DestructiveRole);
        ask.exec();
        if (ask.clickedButton() != add && ask.clickedButton() != replaceButton)
            return;
        replace = ask.clickedButton() == replaceButton;
    }
    QString error;
    if (!openSession(*app_, path, replace, error))
        QMessageBox::critical(app_, tr("Open Session"), tr("Could not open the session: %1").arg(error));
    else if (!error.isEmpty())
        QMessageBox::warning(app_, tr("Open Session"), tr("Parts of the session were left out:\n%1").arg(error));
}

} // namespace ivra
