// The main window's actions, menu bar and tool bar.

#include "MainWindow.h"
#include "SessionActions.h"

#include "RecentFiles.h"
#include "ZoomActions.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#include <QWhatsThis>

namespace ivra {

namespace {

// A small picture on a transparent ground, outlined in one colour; draw fills in the rest.
template <class Draw>
QIcon drawnIcon(int width, int height, QColor outline, Draw draw)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(outline);
    draw(p);
    return QIcon(pm);
}

// The two small pictures of Open (a folder, 16 x 13) and Save as (a disk, 14 x 14).
QIcon openIcon()
{
    return drawnIcon(16, 13, QColor(120, 90, 20), [](QPainter& p) {
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(0, 2, 14, 10);
        p.drawRect(1, 0, 5, 2);
        p.setBrush(QColor(250, 225, 130));
        p.drawPolygon(QPolygon({QPoint(2, 5), QPoint(15, 5), QPoint(13, 12), QPoint(0, 12)}));
    });
}

QIcon saveIcon()
{
    return drawnIcon(14, 14, QColor(20, 30, 80), [](QPainter& p) {
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(0, 0, 13, 13);
        p.setBrush(Qt::white);
        p.drawRect(3, 0, 7, 5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(3, 8, 7, 5);
    });
}

// An action with its text (the menu text; the short text is its tool tip),
// accelerator, status tip and What's This help.
QAction* makeAction(QObject* owner, const QString& shortText, const QString& menuText, const QKeySequence& key,
                    const QString& tip, const QString& whatsThis)
{
    auto* a = new QAction(menuText, owner);
    a->setIconText(shortText);
    a->setToolTip(shortText);
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setStatusTip(tip);
    a->setWhatsThis(whatsThis);
    return a;
}

} // namespace

void MainWindow::initActions()
{
    initFileActions();
    initViewActions();

    windowCascade_ = makeAction(this, tr("Cascade"), tr("&Cascade"), {}, tr("Cascades all windows"),
                                tr("Cascade\n\nCascades all windows"));
    connect(windowCascade_, &QAction::triggered, workspace_, &QMdiArea::cascadeSubWindows);

    windowTile_ =
        makeAction(this, tr("Tile"), tr("&Tile"), {}, tr("Tiles all windows"), tr("Tile\n\nTiles all windows"));
    connect(windowTile_, &QAction::triggered, workspace_, &QMdiArea::tileSubWindows);

    windowAction_ = new QActionGroup(this);
    windowAction_->setExclusive(false);
    windowAction_->addAction(windowCascade_);
    windowAction_->addAction(windowTile_);

    helpAbout_ = makeAction(this, tr("About"), tr("&About..."), {}, tr("About the application"),
                            tr("About\n\nAbout the application"));
    connect(helpAbout_, &QAction::triggered, this, &MainWindow::slotHelpAbout);
}

void MainWindow::initFileActions()
{
    fileOpen_ = makeAction(this, tr("Open File"), tr("&Open..."), QKeySequence(tr("Ctrl+O")),
                           tr("Opens an existing document"), tr("Open File\n\nOpens an existing document"));
    fileOpen_->setIcon(openIcon());
    connect(fileOpen_, &QAction::triggered, this, &MainWindow::slotFileOpen);

    fileSaveAs_ = makeAction(this, tr("Save File As"), tr("&Save as..."), QKeySequence(tr("Ctrl+S")),
                             tr("Saves the actual document under a filename"),
                             tr("Save As\n\nSaves the actual document under a filename"));
    fileSaveAs_->setIcon(saveIcon());
    connect(fileSaveAs_, &QAction::triggered, this, &MainWindow::slotFileSaveAs);

    fileClearAll_ = makeAction(this, tr("Clear All"), tr("Clear All"), QKeySequence(tr("Ctrl+C")),
                               tr("Closes all documents"), tr("Closes all documents"));
    connect(fileClearAll_, &QAction::triggered, this, &MainWindow::slotFileClearAll);

    fileClose_ = makeAction(this, tr("Close File"), tr("&Close"), QKeySequence(tr("Ctrl+W")),
                            tr("Closes the actual document"), tr("Close File\n\nCloses the actual document"));
    connect(fileClose_, &QAction::triggered, this, &MainWindow::slotFileClose);

    fileQuit_ = makeAction(this, tr("Exit"), tr("E&xit"), QKeySequence(tr("Ctrl+Q")), tr("Quits the application"),
                           tr("Exit\n\nQuits the application"));
    connect(fileQuit_, &QAction::triggered, this, &MainWindow::slotFileQuit);
}

void MainWindow::initViewActions()
{
    viewToolBar_ = makeAction(this, tr("Toolbar"), tr("Tool&bar"), {}, tr("Enables/disables the toolbar"),
                              tr("Toolbar\n\nEnables/disables the toolbar"));
    viewToolBar_->setCheckable(true);
    connect(viewToolBar_, &QAction::toggled, this, &MainWindow::slotViewToolBar);

    viewStatusBar_ = makeAction(this, tr("Statusbar"), tr("&Statusbar"), {}, tr("Enables/disables the statusbar"),
                                tr("Statusbar\n\nEnables/disables the statusbar"));
    viewStatusBar_->setCheckable(true);
    connect(viewStatusBar_, &QAction::toggled, this, &MainWindow::slotViewStatusBar);

    viewLeftBar_ = makeAction(this, tr("ListView"), tr("&Image List"), {}, tr("Enables/disables the image list"),
                              tr("Image List\n\nEnables/disables the image list"));
    viewLeftBar_->setCheckable(true);
    connect(viewLeftBar_, &QAction::toggled, this, &MainWindow::slotViewLeftBar);
}

void MainWindow::initMenuBar()
{
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->addAction(fileOpen_);
    fileMenu_->addAction(fileClearAll_);
    fileMenu_->addAction(fileClose_);
    fileMenu_->addAction(fileSaveAs_);
    QMenu* recent = fileMenu_->addMenu(tr("&Recent"));
    recentFiles_ = new RecentFiles(recent, this);
    connect(recentFiles_, &RecentFiles::openRequested, this, &MainWindow::openImage);
    new SessionActions(this, fileMenu_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(fileQuit_);
    initEditMenu();

    viewMenu_ = menuBar()->addMenu(tr("&View"));
    viewMenu_->addAction(viewToolBar_);
    viewMenu_->addAction(viewStatusBar_);
    viewMenu_->addAction(viewLeftBar_);
    new ZoomActions(viewMenu_, this);

    operatorMenu_ = menuBar()->addMenu(tr("&Operator"));

    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &MainWindow::slotWindowMenuAboutToShow);

    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    helpMenu_->addAction(helpAbout_);
    helpMenu_->addSeparator();
    QAction* whatsThis = helpMenu_->addAction(tr("What's &This"), this, [] { QWhatsThis::enterWhatsThisMode(); });
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

void MainWindow::initToolBar()
{
    fileToolBar_ = addToolBar(tr("file operations"));
    fileToolBar_->setObjectName(QStringLiteral("file operations"));
    fileToolBar_->addAction(fileOpen_);
    fileToolBar_->addAction(fileSaveAs_);
    fileToolBar_->addSeparator();
    QAction* whatsThis = QWhatsThis::createAction(this);
    // The toolkit gives this action Shift+F1 as well; two actions on one key would
    // leave the key dead, and the Help menu's item already owns it.
    whatsThis->setShortcut(QKeySequence());
    fileToolBar_->addAction(whatsThis);
}

} // namespace ivra
