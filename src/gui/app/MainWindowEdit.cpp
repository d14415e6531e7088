// The main window's Edit menu (Undo, Delete) and the questions asked before work
// is thrown away: Clear All, Delete and Exit.

#include "MainWindow.h"

#include "DataEntry.h"
#include "DataEntryIterator.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace ivra {

void MainWindow::initEditMenu()
{
    editUndo_ = new QAction(tr("&Undo"), this);
    editUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    editUndo_->setStatusTip(tr("Brings back what the last Clear All or Delete removed"));
    editUndo_->setEnabled(false);
    connect(editUndo_, &QAction::triggered, this, &MainWindow::slotEditUndo);

    editDelete_ = new QAction(tr("&Delete"), this);
    editDelete_->setShortcut(QKeySequence(Qt::Key_Delete));
    // Only in the image list: Delete in a dialog's field or a picture window is theirs.
    editDelete_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    editDelete_->setStatusTip(tr("Removes the selected entry, its results and their windows"));
    connect(editDelete_, &QAction::triggered, this, &MainWindow::slotEditDelete);

    editMenu_ = menuBar()->addMenu(tr("&Edit"));
    editMenu_->addAction(editUndo_);
    editMenu_->addAction(editDelete_);
}

bool MainWindow::confirm(const QString& title, const QString& question)
{
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::slotFileClearAll()
{
    const auto count = root_->children().size();
    if (count == 0 || !confirm(tr("Clear All"), tr("Clear all %1 pictures and their results?").arg(count)))
        return;
    statusBar()->showMessage(tr("Closes all documents..."));
    std::vector<DataEntry*> all;
    for (const auto& child : root_->children())
        all.push_back(child.get());
    undo_.remove(*root_, all);
    editUndo_->setEnabled(undo_.canUndo());
    slotUpdateDataList();
    statusBar()->showMessage(tr("Ready."));
}

void MainWindow::slotEditDelete()
{
    DataEntry* entry = selectedEntry();
    if (!entry)
        return;
    const QString name = entry->name();
    undo_.remove(*root_, {entry});
    editUndo_->setEnabled(undo_.canUndo());
    slotUpdateDataList();
    statusBar()->showMessage(tr("Deleted %1; Edit > Undo brings it back").arg(name));
}

void MainWindow::slotEditUndo()
{
    if (!undo_.canUndo())
        return;
    const std::vector<DataEntry*> shown = undo_.undo(*root_);
    editUndo_->setEnabled(false);
    slotUpdateDataList();
    for (DataEntry* entry : shown)
        showEntry(entry);
    statusBar()->showMessage(tr("Ready."));
}

void MainWindow::slotFileQuit()
{
    if (!confirmExit())
        return;
    exitConfirmed_ = true;
    statusBar()->showMessage(tr("Exiting application..."));
    QApplication::quit();
    statusBar()->showMessage(tr("Ready."));
}

bool MainWindow::confirmExit()
{
    const auto count = root_->children().size();
    return !hasUnsavedResults() ||
           confirm(tr("Exit"), tr("Exit and lose all %1 pictures and their results?").arg(count));
}

namespace {

// Every entry below the root in pre-order, by serial and depth: equal shapes hold the
// same entries in the same places (an Undo that puts back what was removed since
// restores the shape too).
std::vector<std::uint64_t> treeShape(DataEntry* root)
{
    std::vector<std::uint64_t> shape;
    DataEntryIterator it(root);
    for (DataEntry* e = it.first(); e; e = it.next())
        if (e != root)
            shape.insert(shape.end(), {e->serial(), static_cast<std::uint64_t>(it.depth())});
    return shape;
}

} // namespace

void MainWindow::markSessionSaved()
{
    savedTree_ = treeShape(root_.get());
}

bool MainWindow::hasUnsavedResults() const
{
    return !root_->children().empty() && treeShape(root_.get()) != savedTree_;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // File > Exit has asked already; the window's own close button has not.
    if (!exitConfirmed_ && !confirmExit()) {
        event->ignore();
        return;
    }
    exitConfirmed_ = true;
    QMainWindow::closeEvent(event);
}

} // namespace ivra
