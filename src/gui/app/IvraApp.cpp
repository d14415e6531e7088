#include "IvraApp.h"

#include "DataEntry.h"
#include "DataEntryIterator.h"
#include "LoadImage.h"
#include "OperatorCatalogue.h"
#include "OperatorDialog.h"
#include "WindowFactory.h"
#include "view/IvraView.h"
#include "view/IvraViewImage2.h"

#include "IoError.h"
#include "PictureReader.h"
#include "PictureWriter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <algorithm>

namespace ivra {

namespace {

IvraApp* theMainWindow = nullptr;

// The two small pictures of Open (a folder, 16 x 13) and Save as (a disk, 14 x 14).
QIcon openIcon()
{
    QPixmap pm(16, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(0, 2, 14, 10);
    p.drawRect(1, 0, 5, 2);
    p.setBrush(QColor(250, 225, 130));
    p.drawPolygon(QPolygon({QPoint(2, 5), QPoint(15, 5), QPoint(13, 12), QPoint(0, 12)}));
    return QIcon(pm);
}

QIcon saveIcon()
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(20, 30, 80));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(0, 0, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(3, 0, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(3, 8, 7, 5);
    return QIcon(pm);
}

} // namespace

IvraApp::IvraApp(QWidget* parent)
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

    loader_ = new LoadImage(this);
    registerOperators(*this);
}

IvraApp::~IvraApp()
{
    // The tree goes first: it takes the windows of its entries with it while the
    // workspace still exists.
    root_.reset();
    if (theMainWindow == this)
        theMainWindow = nullptr;
}

IvraApp* IvraApp::instance()
{
    return theMainWindow;
}

DataEntry* IvraApp::entryAt(int number) const
{
    return ivra::entryAt(root_.get(), number);
}

IvraView* IvraApp::activeView() const
{
    QMdiSubWindow* w = workspace_->activeSubWindow();
    if (!w)
        w = workspace_->currentSubWindow();
    if (w && w->isHidden())
        return nullptr;
    return qobject_cast<IvraView*>(w);
}

// ---------------------------------------------------------------- construction

void IvraApp::initWorkspace()
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

void IvraApp::initActions()
{
    // Each action: text (the menu text; the short text is its tool tip), accelerator,
    // status tip and What's This help.
    auto make = [this](const QString& shortText, const QString& menuText, const QKeySequence& key,
                       const QString& tip, const QString& whatsThis) {
        auto* a = new QAction(menuText, this);
        a->setIconText(shortText);
        a->setToolTip(shortText);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setStatusTip(tip);
        a->setWhatsThis(whatsThis);
        return a;
    };

    fileOpen_ = make(tr("Open File"), tr("&Open..."), QKeySequence(tr("Ctrl+O")), tr("Opens an existing document"),
                     tr("Open File\n\nOpens an existing document"));
    fileOpen_->setIcon(openIcon());
    connect(fileOpen_, &QAction::triggered, this, &IvraApp::slotFileOpen);

    fileSaveAs_ = make(tr("Save File As"), tr("&Save as..."), QKeySequence(tr("Ctrl+S")),
                       tr("Saves the actual document under a filename"),
                       tr("Save As\n\nSaves the actual document under a filename"));
    fileSaveAs_->setIcon(saveIcon());
    connect(fileSaveAs_, &QAction::triggered, this, &IvraApp::slotFileSaveAs);

    fileClearAll_ = make(tr("Clear All"), tr("Clear All"), QKeySequence(tr("Ctrl+C")), tr("Closes all documents"),
                         tr("Closes all documents"));
    connect(fileClearAll_, &QAction::triggered, this, &IvraApp::slotFileClearAll);

    fileClose_ = make(tr("Close File"), tr("&Close"), QKeySequence(tr("Ctrl+W")), tr("Closes the actual document"),
                      tr("Close File\n\nCloses the actual document"));
    connect(fileClose_, &QAction::triggered, this, &IvraApp::slotFileClose);

    fileQuit_ = make(tr("Exit"), tr("E&xit"), QKeySequence(tr("Ctrl+Q")), tr("Quits the application"),
                     tr("Exit\n\nQuits the application"));
    connect(fileQuit_, &QAction::triggered, this, &IvraApp::slotFileQuit);

    viewToolBar_ = make(tr("Toolbar"), tr("Tool&bar"), {}, tr("Enables/disables the toolbar"),
                        tr("Toolbar\n\nEnables/disables the toolbar"));
    viewToolBar_->setCheckable(true);
    connect(viewToolBar_, &QAction::toggled, this, &IvraApp::slotViewToolBar);

    viewStatusBar_ = make(tr("Statusbar"), tr("&Statusbar"), {}, tr("Enables/disables the statusbar"),
                          tr("Statusbar\n\nEnables/disables the statusbar"));
    viewStatusBar_->setCheckable(true);
    connect(viewStatusBar_, &QAction::toggled, this, &IvraApp::slotViewStatusBar);

    viewLeftBar_ = make(tr("ListView"), tr("&Image List"), {}, tr("Enables/disables the image list"),
                        tr("Image List\n\nEnables/disables the image list"));
    viewLeftBar_->setCheckable(true);
    connect(viewLeftBar_, &QAction::toggled, this, &IvraApp::slotViewLeftBar);

    windowCascade_ = make(tr("Cascade"), tr("&Cascade"), {}, tr("Cascades all windows"),
                          tr("Cascade\n\nCascades all windows"));
    connect(windowCascade_, &QAction::triggered, workspace_, &QMdiArea::cascadeSubWindows);

    windowTile_ = make(tr("Tile"), tr("&Tile"), {}, tr("Tiles all windows"), tr("Tile\n\nTiles all windows"));
    connect(windowTile_, &QAction::triggered, workspace_, &QMdiArea::tileSubWindows);

    windowAction_ = new QActionGroup(this);
    windowAction_->setExclusive(false);
    windowAction_->addAction(windowCascade_);
    windowAction_->addAction(windowTile_);

    helpAbout_ = make(tr("About"), tr("&About..."), {}, tr("About the application"), tr("About\n\nAbout the application"));
    connect(helpAbout_, &QAction::triggered, this, &IvraApp::slotHelpAbout);
}

void IvraApp::initMenuBar()
{
    fileMenu_ = menuBar()->addMenu(tr("&File"));
    fileMenu_->addAction(fileOpen_);
    fileMenu_->addAction(fileClearAll_);
    fileMenu_->addAction(fileClose_);
    fileMenu_->addAction(fileSaveAs_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(fileQuit_);

    viewMenu_ = menuBar()->addMenu(tr("&View"));
    viewMenu_->addAction(viewToolBar_);
    viewMenu_->addAction(viewStatusBar_);
    viewMenu_->addAction(viewLeftBar_);

    operatorMenu_ = menuBar()->addMenu(tr("&Operator"));

    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &IvraApp::slotWindowMenuAboutToShow);

    helpMenu_ = menuBar()->addMenu(tr("&Help"));
    helpMenu_->addAction(helpAbout_);
    helpMenu_->addSeparator();
    QAction* whatsThis = helpMenu_->addAction(tr("What's &This"), this, [] { QWhatsThis::enterWhatsThisMode(); });
    whatsThis->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

void IvraApp::initToolBar()
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

void IvraApp::initImageList()
{
    leftBar_ = new QDockWidget(QString(), this);
    leftBar_->setObjectName(QStringLiteral("image list"));
    // No title is shown; screen readers still name the bar.
    leftBar_->setAccessibleName(tr("Image List"));
    leftBar_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    leftBar_->setTitleBarWidget(new QWidget(leftBar_));
    leftBar_->setFixedWidth(240);

    dataList_ = new QTreeWidget(leftBar_);
    dataList_->setObjectName(QStringLiteral("dataList"));
    dataList_->setAccessibleName(tr("Images"));
    dataList_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    dataList_->setColumnCount(2);
    dataList_->setHeaderLabels({tr("Images"), QString()});
    dataList_->setColumnWidth(0, 200);
    // Column 1 holds the entry number; it orders the items and is not seen.
    dataList_->setColumnHidden(1, true);
    dataList_->setHeaderHidden(true);
    dataList_->setRootIsDecorated(false);
    dataList_->setSelectionMode(QAbstractItemView::SingleSelection);
    dataList_->setSortingEnabled(true);
    dataList_->sortByColumn(1, Qt::AscendingOrder);
    dataList_->setContextMenuPolicy(Qt::CustomContextMenu);
    leftBar_->setWidget(dataList_);
    addDockWidget(Qt::LeftDockWidgetArea, leftBar_);

    popup_ = new QMenu(this);
    popup_->addAction(tr("Show Image"), this, qOverload<>(&IvraApp::slotImageShow));
    popup_->addAction(tr("Hide Image"), this, &IvraApp::slotImageHide);

    connect(dataList_, &QTreeWidget::customContextMenuRequested, this, &IvraApp::slotShowLeftBarPopup);
    connect(dataList_, &QTreeWidget::itemSelectionChanged, this, &IvraApp::showSelectionOfList);
    // Enter or a double click brings up the window of an item that is already selected.
    connect(dataList_, &QTreeWidget::itemActivated, this, qOverload<QTreeWidgetItem*>(&IvraApp::slotImageShow));
}

void IvraApp::initStatusBar()
{
    statusBar()->showMessage(tr("Welcome to Ivra !!!"));
}

// ---------------------------------------------------------------- operators

QAction* IvraApp::registerOperator(const QString& name, OperatorDialog* dialog, const QString& description,
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

// ---------------------------------------------------------------- image list

void IvraApp::slotUpdateDataList()
{
    const QSignalBlocker block(dataList_);
    dataList_->clear();
    std::vector<QTreeWidgetItem*> stack;
    int counter = 0;
    DataEntryIterator it(root_.get());
    for (DataEntry* e = it.first(); e; e = it.next()) {
        if (e->isHidden())
            continue;
        const int depth = it.depth();
        QTreeWidgetItem* item = nullptr;
        if (depth == 0 || stack.size() < static_cast<std::size_t>(depth)) {
            item = new QTreeWidgetItem(dataList_);
        } else {
            item = new QTreeWidgetItem(stack[static_cast<std::size_t>(depth) - 1]);
        }
        item->setText(0, e->name());
        item->setText(1, QString::number(counter++));
        const auto d = static_cast<std::size_t>(depth);
        if (stack.size() > d)
            stack[d] = item;
        else
            stack.push_back(item);
        item->setExpanded(true);
    }
    dataList_->expandAll();
}

DataEntry* IvraApp::selectedEntry() const
{
    const QList<QTreeWidgetItem*> selected = dataList_->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    bool ok = false;
    const int number = selected.constFirst()->text(1).toInt(&ok);
    return ok ? entryAt(number) : nullptr;
}

QTreeWidgetItem* IvraApp::itemOf(const DataEntry* entry) const
{
    const int number = entryNumber(root_.get(), entry);
    if (number < 0)
        return nullptr;
    const QString key = QString::number(number);
    const QList<QTreeWidgetItem*> found = dataList_->findItems(key, Qt::MatchExactly | Qt::MatchRecursive, 1);
    return found.isEmpty() ? nullptr : found.constFirst();
}

QWidget* IvraApp::showEntry(DataEntry* entry)
{
    if (!entry)
        return nullptr;
    QWidget* window = entry->window();
    if (!window) {
        window = createWindowFor(*entry, workspace_);
        if (!window)
            return nullptr;
        entry->setWindow(window);
    }
    window->showNormal();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window))
        workspace_->setActiveSubWindow(sub);
    window->setFocus();
    return window;
}

void IvraApp::slotImageShow()
{
    showEntry(selectedEntry());
}

void IvraApp::showSelectionOfList()
{
    // Walking the list with the arrow keys brings up each window in turn, but the
    // keys stay in the list; a click hands the focus to the window.
    const bool browsingByKeys = dataList_->hasFocus() && QApplication::mouseButtons() == Qt::NoButton;
    slotImageShow(dataList_->currentItem());
    if (browsingByKeys)
        dataList_->setFocus();
}

void IvraApp::slotImageShow(QTreeWidgetItem*)
{
    slotImageShow();
}

void IvraApp::slotImageHide()
{
    if (DataEntry* e = selectedEntry())
        if (QWidget* w = e->window())
            w->hide();
}

void IvraApp::slotShowLeftBarPopup(const QPoint& point)
{
    popup_->popup(dataList_->viewport()->mapToGlobal(point));
}

// ---------------------------------------------------------------- file menu

void IvraApp::slotFileOpen()
{
    statusBar()->showMessage(tr("Opening file..."));
    if (loader_->exec() && !loader_->fileName().isEmpty())
        openImage(loader_->fileName());
    statusBar()->showMessage(tr("Ready."));
}

DataEntry* IvraApp::openImage(const QString& path)
{
    statusBar()->showMessage(tr("Opening file..."));
    std::unique_ptr<Image> image;
    if (ivra::mentionsPictureExtension(path)) {
        try {
            image = ivra::readPicture(path);
        } catch (const ivra::IoError&) {
            image.reset();
        }
    }
    if (!image) {
        QMessageBox::critical(this, tr("I/O Error !"), tr("Could not open the document !"));
        statusBar()->showMessage(tr("Ready."));
        return nullptr;
    }
    DataEntry* entry = root_->addChild(std::move(image), IvraView::fileNamePart(path));
    // Windows of loaded files are destroyed when closed; the entry's reference
    // clears itself, so the next Show Image makes a new one.
    auto* window = new IvraViewImage2(workspace_, entry);
    window->setAttribute(Qt::WA_DeleteOnClose);
    entry->setWindow(window);
    workspace_->setActiveSubWindow(window);
    slotUpdateDataList();
    statusBar()->showMessage(tr("Ready."));
    return entry;
}

std::pair<QString, QString> IvraApp::saveTarget(const QString& fileName)
{
    const QString file = IvraView::fileNamePart(fileName);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? file.mid(dot + 1).toLower() : QString();
    if (extension == QLatin1String("png") || extension == QLatin1String("ppm") || extension == QLatin1String("xpm"))
        return {fileName, extension.toUpper()};
    return {fileName + QStringLiteral(".png"), QStringLiteral("PNG")};
}

bool IvraApp::saveActiveWindowAs(const QString& fileName)
{
    IvraView* view = activeView();
    if (fileName.isEmpty() || !view)
        return true;
    const QString path = saveTarget(fileName).first;
    const QImage picture = view->picture();
    bool written = false;
    if (!picture.isNull()) {
        try {
            ivra::writePicture(picture, path);
            written = view->setPathChecked(path);
        } catch (const ivra::IoError&) {
            written = false;
        }
    }
    if (!written) {
        QMessageBox::critical(this, tr("I/O Error !"), tr("Could not save the current document !"));
        return false;
    }
    return true;
}

void IvraApp::slotFileSaveAs()
{
    statusBar()->showMessage(tr("Saving file under filename..."));
    const QString name = QFileDialog::getSaveFileName(this, tr("Save File As"), QString(), QString(), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!saveActiveWindowAs(name))
        return;
    statusBar()->showMessage(tr("Ready."));
}

void IvraApp::slotFileClose()
{
    statusBar()->showMessage(tr("Closing file..."));
    if (IvraView* view = activeView())
        view->hide();
    statusBar()->showMessage(tr("Ready."));
}

void IvraApp::slotFileClearAll()
{
    statusBar()->showMessage(tr("Closes all documents..."));
    // Deleting an entry destroys its window too, so no window is left showing a
    // picture that is gone.
    root_->clearChildren();
    slotUpdateDataList();
    statusBar()->showMessage(tr("Ready."));
}

void IvraApp::slotFileQuit()
{
    statusBar()->showMessage(tr("Exiting application..."));
    QApplication::quit();
    statusBar()->showMessage(tr("Ready."));
}

// ---------------------------------------------------------------- view menu

void IvraApp::slotViewToolBar(bool on)
{
    statusBar()->showMessage(tr("Toggle toolbar..."));
    fileToolBar_->setVisible(on);
    statusBar()->showMessage(tr("Ready."));
}

void IvraApp::slotViewStatusBar(bool on)
{
    statusBar()->showMessage(tr("Toggle statusbar..."));
    statusBar()->setVisible(on);
    statusBar()->showMessage(tr("Ready."));
}

void IvraApp::slotViewLeftBar(bool on)
{
    statusBar()->showMessage(tr("Toggle image list..."));
    leftBar_->setVisible(on);
    statusBar()->showMessage(tr("Ready."));
}

// ---------------------------------------------------------------- window and help menus

QList<QWidget*> IvraApp::visibleWindows() const
{
    QList<QWidget*> result;
    for (QMdiSubWindow* w : workspace_->subWindowList(QMdiArea::CreationOrder))
        if (!w->isHidden())
            result.append(w);
    return result;
}

void IvraApp::slotWindowMenuAboutToShow()
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

void IvraApp::slotWindowMenuActivated(int position)
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

void IvraApp::slotHelpAbout()
{
    QMessageBox::about(this, tr("About..."),
                       tr("Ivra\nVersion \n(c) the Ivra developers: a workbench for colour image segmentation"));
}

void IvraApp::slotStatusHelpMsg(const QString& text)
{
    statusBar()->showMessage(text, 2000);
}

// ---------------------------------------------------------------- drag and drop

void IvraApp::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void IvraApp::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    // Opened once the drop is over: a file may bring up the "I/O Error !" box, and
    // the program the files came from waits until the drop is answered.
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            for (const QString& path : paths)
                openImage(path);
        },
        Qt::QueuedConnection);
}

} // namespace ivra
