#pragma once

#include "RunCounters.h"
#include "UndoStore.h"

#include <QMainWindow>
#include <QString>

#include <map>
#include <memory>
#include <utility>

class QAction;
class QActionGroup;
class QDockWidget;
class QMdiArea;
class QMenu;
class QPoint;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace ivra {

class DataEntry;
class EntryWindow;
class OpenFileDialog;
class OperatorDialog;
class RecentFiles;

// The main window: a workspace of picture windows, the image list docked at the
// left (a tree of DataEntry objects: loaded pictures at the top level, results
// under the entry they were computed from), the menus File, View, Operator,
// Window and Help, the tool bar and the status bar. It owns the image tree and the
// operators' run counters and is reachable process-wide through instance().
//
// Its code is split by subject: MainWindowActions.cpp (actions, menus, tool bar),
// MainWindowImageList.cpp (the list and Show/Hide Image), MainWindowFiles.cpp
// (File menu, dropped files), this file (the rest).
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Builds everything, then the file loader, then the operator catalogue.
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The one main window of the process; none before it is built or after it is gone.
    static MainWindow* instance();

    DataEntry* root() const { return root_.get(); }
    // The entry with the given list number (pre-order position below the root).
    DataEntry* entryAt(int number) const;
    QTreeWidget* dataList() const { return dataList_; }
    QMdiArea* workspace() const { return workspace_; }
    QMenu* operatorMenu() const { return operatorMenu_; }
    QMenu* windowMenu() const { return windowMenu_; }
    QMenu* listPopupMenu() const { return popup_; }
    OpenFileDialog* openDialog() const { return openDialog_; }
    RunCounters& runCounters() { return runCounters_; }
    // The workspace's current picture window, if any (active or last active).
    EntryWindow* activeView() const;

    // Adds an operator to the Operator menu: an action named name, with the status
    // tip description, opening the dialog; into the category's submenu (created on
    // first use and appended) or, for an empty category, straight into the menu.
    QAction* registerOperator(const QString& name, OperatorDialog* dialog, const QString& description,
                              const QString& category);

    // Reads one picture file into a new top-level entry with its own window; the
    // entry, or none after the "I/O Error !" box.
    DataEntry* openImage(const QString& path);
    // File > Save as after the name is chosen: writes the active window's picture.
    // True when there was nothing to do or the file was written; false after the
    // "I/O Error !" box.
    bool saveActiveWindowAs(const QString& fileName);
    // The file Save as writes and its format: PNG, PPM or XPM by the name's
    // extension (any case); any other name gets ".png" appended and is written as PNG.
    static std::pair<QString, QString> saveTarget(const QString& fileName);
    // File > Open's name test: a PNG, PGM or PPM mentioned anywhere, or a JPEG, BMP,
    // TIFF or XPM extension (any case).
    static bool isOpenablePictureName(const QString& path);
    RecentFiles* recentFiles() const { return recentFiles_; }
    // Makes (or brings up) the window of an entry, as Show Image does.
    QWidget* showEntry(DataEntry* entry);
    // The list item that shows an entry; none when the entry is not listed.
    QTreeWidgetItem* itemOf(const DataEntry* entry) const;
    // The tree as it stands is the one in a session file now (just saved, or opened
    // in place of everything): Exit need not ask until an entry is added or removed.
    void markSessionSaved();
    // Whether the tree holds entries and differs from the one last saved or opened.
    bool hasUnsavedResults() const;

public slots:
    void slotUpdateDataList();
    void slotFileOpen();
    void slotFileSaveAs();
    void slotFileClose();
    void slotFileClearAll();
    void slotFileQuit();
    void slotEditUndo();
    // Removes the selected entry of the image list with its subtree and windows (undoable).
    void slotEditDelete();
    void slotViewToolBar(bool on);
    void slotViewStatusBar(bool on);
    void slotViewLeftBar(bool on);
    void slotImageShow();
    void slotImageShow(QTreeWidgetItem* item);
    void slotImageHide();
    void slotHelpAbout();
    void slotStatusHelpMsg(const QString& text);
    void slotShowLeftBarPopup(const QPoint& point);
    void slotWindowMenuAboutToShow();
    void slotWindowMenuActivated(int position);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Asks before the results are thrown away, unless File > Exit has asked.
    void closeEvent(QCloseEvent* event) override;

private:
    void initWorkspace();
    void initActions();
    void initFileActions();
    void initViewActions();
    void initMenuBar();
    void initEditMenu();
    // A Yes/No question; true for Yes.
    bool confirm(const QString& title, const QString& question);
    // True when there is nothing to lose or the user agrees to lose it.
    bool confirmExit();
    void initToolBar();
    void initImageList();
    void initStatusBar();
    DataEntry* selectedEntry() const;
    // A new selection in the image list: Show Image, keeping the keys in the list
    // while the user walks it with them.
    void showSelectionOfList();
    // The workspace's windows that are not hidden, in creation order.
    QList<QWidget*> visibleWindows() const;

    std::unique_ptr<DataEntry> root_;
    RunCounters runCounters_;
    UndoStore undo_;
    bool exitConfirmed_ = false;
    std::vector<std::uint64_t> savedTree_; // treeShape() when last saved; empty: never
    QMdiArea* workspace_ = nullptr;
    QDockWidget* leftBar_ = nullptr;
    QTreeWidget* dataList_ = nullptr;
    QToolBar* fileToolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* operatorMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* popup_ = nullptr;
    std::map<QString, QMenu*> categories_;

    QAction* fileOpen_ = nullptr;
    QAction* fileSaveAs_ = nullptr;
    QAction* fileClearAll_ = nullptr;
    QAction* fileClose_ = nullptr;
    QAction* fileQuit_ = nullptr;
    QAction* editUndo_ = nullptr;
    QAction* editDelete_ = nullptr;
    QAction* viewToolBar_ = nullptr;
    QAction* viewStatusBar_ = nullptr;
    QAction* viewLeftBar_ = nullptr;
    QAction* windowCascade_ = nullptr;
    QAction* windowTile_ = nullptr;
    QActionGroup* windowAction_ = nullptr;
    QAction* helpAbout_ = nullptr;

    OpenFileDialog* openDialog_ = nullptr;
    RecentFiles* recentFiles_ = nullptr;
};

} // namespace ivra
