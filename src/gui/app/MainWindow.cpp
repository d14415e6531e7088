#include "MainWindow.h"

#include "DataEntry.h"
#include "DataEntryIterator.h"
#include "OpenFileDialog.h"
#include "OperatorCatalogue.h"
#include "OperatorDialog.h"
#include "view/EntryWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace ivra {

namespace {

MainWindow* theMainWindow = nullptr;

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), root_(std::make_unique<DataEntry>(nullptr, QStringLiteral("Root"), nullptr, true))
{
    theMainWindow = this;
    setWindowTitle(tr("Ivra "));
    QFont f(QStringLiteral("Helvetica"), 10);
    f.setBold(true);
    setFont(f);
    setAcceptDrops(true);
    // The toolkit's own bar menu would offer the untitled image list as a blank
    // entry and toggle the tool bar behind the View menu's back; View does that.
    setContextMenuPolicy(Qt::NoContextMenu);

    initWorkspace();
    initActions();
    initMenuBar();
    initToolBar();
    initImageList();
    initStatusBar();

    resize(450, 400);
    // The bars are visible already; switching the toggles on quietly keeps the
    // welcome message in the status bar.
    for (QAction* toggle : {viewToolBar_, viewStatusBar_, viewLeftBar_}) {
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(true);
    }

    openDialog_ = new OpenFileDialog(this);
    registerOperators(*this);
}

MainWindow::~MainWindow()
{
    // The tree goes first: it takes the windows of its entries with it while the
    // workspace still exists.
    root_.reset();
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

MainWindow* MainWindow::instance()
{
    return theMainWindow;
}

DataEntry* MainWindow::entryAt(int number) const
{
    return ivra::entryAt(root_.get(), number);
}

EntryWindow* MainWindow::activeView() const
{
    QMdiSubWindow* w = workspace_->activeSubWindow();
    if (!w)
        w = workspace_->currentSubWindow();
    if (w && w->isHidden())
        return nullptr;
    return qobject_cast<EntryWindow*>(w);
}

void MainWindow::initWorkspace()
{
    auto* box = new QFrame(this);
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    workspace_ = new QMdiArea(box);
    workspace_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    workspace_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(workspace_);
    setCentralWidget(box);
}

void MainWindow::initStatusBar()
{
    statusBar()->showMessage(tr("Welcome to Ivra !!!"));
}

QAction* MainWindow::registerOperator(const QString& name, OperatorDialog* dialog, const QString& description,
                                      const QString& category)
{
    auto* action = new QAction(name, this);
    action->setStatusTip(description);
    connect(action, &QAction::triggered, dialog, &OperatorDialog::showDialog);
    if (category.isEmpty()) {
        operatorMenu_->addAction(action);
        return action;
    }
    QMenu*& menu = categories_[category];
    if (!menu) {
        menu = new QMenu(category, this);
        operatorMenu_->addMenu(menu);
    }
    menu->addAction(action);
    return action;
}

// ---------------------------------------------------------------- view menu

void MainWindow::slotViewToolBar(bool on)
{
    statusBar()->showMessage(tr("Toggle toolbar..."));
    fileToolBar_->setVisible(on);
    statusBar()->showMessage(tr("Ready."));
}

void MainWindow::slotViewStatusBar(bool on)
{
    statusBar()->showMessage(tr("Toggle statusbar..."));
    statusBar()->setVisible(on);
    statusBar()->showMessage(tr("Ready."));
}

void MainWindow::slotViewLeftBar(bool on)
{
    statusBar()->showMessage(tr("Toggle image list..."));
    leftBar_->setVisible(on);
    statusBar()->showMessage(tr("Ready."));
}

// ---------------------------------------------------------------- window and help menus

QList<QWidget*> MainWindow::visibleWindows() const
{
    QList<QWidget*> result;
    for (QMdiSubWindow* w : workspace_->subWindowList(QMdiArea::CreationOrder))
        if (!w->isHidden())
            result.append(w);
    return result;
}

void MainWindow::slotWindowMenuAboutToShow()
{
    windowMenu_->clear();
    windowMenu_->addAction(windowCascade_);
    windowMenu_->addAction(windowTile_);
    const QList<QWidget*> windows = visibleWindows();
    if (windows.isEmpty()) {
        windowAction_->setEnabled(false);
        return;
    }
    windowAction_->setEnabled(true);
    windowMenu_->addSeparator();
    QWidget* active = activeView();
    for (int i = 0; i < windows.size(); ++i) {
        QAction* item = windowMenu_->addAction(QStringLiteral("&%1 ").arg(i + 1) + windows[i]->windowTitle());
        item->setCheckable(true);
        item->setChecked(windows[i] == active);
        connect(item, &QAction::triggered, this, [this, i] { slotWindowMenuActivated(i); });
    }
}

void MainWindow::slotWindowMenuActivated(int position)
{
    const QList<QWidget*> windows = visibleWindows();
    if (position < 0 || position >= windows.size())
        return;
    QWidget* w = windows[position];
    w->showNormal();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
        workspace_->setActiveSubWindow(sub);
    w->setFocus();
}

void MainWindow::slotHelpAbout()
{
    QMessageBox::about(this, tr("About..."),
                       tr("Ivra\nVersion %1 (Qt %2)\n(c) the Ivra developers: a workbench for colour image segmentation")
                           .arg(QStringLiteral(IVRA_VERSION), QString::fromLatin1(qVersion())));
}

void MainWindow::slotStatusHelpMsg(const QString& text)
{
    statusBar()->showMessage(text, 2000);
}

} // namespace ivra
