// The main window: windows of entries, the Window menu, Close File, Clear All,
// opening and saving files.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/OperatorDialog.h"
#include "view/IvraView.h"
#include "view/IvraViewImage2.h"
#include "view/QImageDisplay.h"
#include "view/QImageView.h"

#include "PictureReader.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMap>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

using namespace ivra;

using namespace guitest;

namespace {

void select(IvraApp& app, DataEntry* entry)
{
    QTreeWidgetItem* item = app.itemOf(entry);
    ASSERT_NE(item, nullptr);
    app.dataList()->clearSelection();
    item->setSelected(true);
}

QStringList actionTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("--") : a->text());
    return texts;
}

} // namespace

TEST(MainWindow, StartsWithItsMenusAndWelcome)
{
    IvraApp app;
    EXPECT_EQ(IvraApp::instance(), &app);
    EXPECT_EQ(app.windowTitle(), "Ivra ");
    EXPECT_EQ(app.statusBar()->currentMessage(), "Welcome to Ivra !!!");
    QStringList menus;
    for (const QAction* a : app.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&View", "&Operator", "&Window", "&Help"}));
    EXPECT_EQ(actionTexts(app.listPopupMenu()), QStringList({"Show Image", "Hide Image"}));
    // The untitled bar and the list it holds still have names for screen readers.
    auto* bar = app.findChild<QDockWidget*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->accessibleName(), "Image List");
    EXPECT_EQ(app.dataList()->accessibleName(), "Images");

    // A right click anywhere in the list opens the popup there.
    app.show();
    app.slotShowLeftBarPopup(QPoint(20, 30));
    EXPECT_TRUE(app.listPopupMenu()->isVisible());
    EXPECT_EQ(app.listPopupMenu()->pos(), app.dataList()->viewport()->mapToGlobal(QPoint(20, 30)));
    app.listPopupMenu()->hide();
}

TEST(MainWindow, EveryKeyOfTheActionsBelongsToOneActionOnly)
{
    // Two actions on one key leave that key dead (the toolkit reports an ambiguity).
    // A picture window brings a menu of its own.
    IvraApp app;
    app.show();
    app.showEntry(addTopLevel(app, grayImage(2, 2, 1), "one"));
    QMap<QString, QStringList> owners;
    for (const QAction* a : app.findChildren<QAction*>())
        for (const QKeySequence& key : a->shortcuts())
            owners[key.toString()] << a->text();
    EXPECT_EQ(owners.value("Shift+F1"), QStringList({"What's &This"}));
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << it.key().toStdString() << ": " << it.value().join(", ").toStdString();
    const QStringList expected = {"Ctrl+O", "Ctrl+S", "Ctrl+C", "Ctrl+W", "Ctrl+Q"};
    for (const QString& key : expected)
        EXPECT_TRUE(owners.contains(key)) << key.toStdString();
}

TEST(MainWindow, ActionsCarryTheirTextsKeysAndHelp)
{
    IvraApp app;
    // short text, menu text, key, status tip, What's This
    const QStringList table[] = {
        {"Open File", "&Open...", "Ctrl+O", "Opens an existing document", "Open File\n\nOpens an existing document"},
        {"Clear All", "Clear All", "Ctrl+C", "Closes all documents", "Closes all documents"},
        {"Close File", "&Close", "Ctrl+W", "Closes the actual document", "Close File\n\nCloses the actual document"},
        {"Save File As", "&Save as...", "Ctrl+S", "Saves the actual document under a filename",
         "Save As\n\nSaves the actual document under a filename"},
        {"Exit", "E&xit", "Ctrl+Q", "Quits the application", "Exit\n\nQuits the application"},
        {"Toolbar", "Tool&bar", "", "Enables/disables the toolbar", "Toolbar\n\nEnables/disables the toolbar"},
        {"Statusbar", "&Statusbar", "", "Enables/disables the statusbar", "Statusbar\n\nEnables/disables the statusbar"},
        {"ListView", "&Image List", "", "Enables/disables the image list",
         "Image List\n\nEnables/disables the image list"},
        {"Cascade", "&Cascade", "", "Cascades all windows", "Cascade\n\nCascades all windows"},
        {"Tile", "&Tile", "", "Tiles all windows", "Tile\n\nTiles all windows"},
        {"About", "&About...", "", "About the application", "About\n\nAbout the application"},
    };
    QList<QAction*> actions;
    for (QAction* a : app.menuBar()->actions())
        actions << a->menu()->actions();
    app.slotWindowMenuAboutToShow();
    actions << app.windowMenu()->actions();
    for (const QStringList& row : table) {
        QAction* found = nullptr;
        for (QAction* a : actions)
            if (a->text() == row[1])
                found = a;
        ASSERT_NE(found, nullptr) << row[1].toStdString();
        EXPECT_EQ(found->toolTip(), row[0]);
        EXPECT_EQ(found->shortcut().toString(), row[2]) << row[1].toStdString();
        EXPECT_EQ(found->statusTip(), row[3]);
        EXPECT_EQ(found->whatsThis(), row[4]);
    }
    // The menus hold them in this order; the toggles start switched on.
    EXPECT_EQ(actionTexts(app.menuBar()->actions().at(0)->menu()),
              QStringList({"&Open...", "Clear All", "&Close", "&Save as...", "--", "E&xit"}));
    const QList<QAction*> view = app.menuBar()->actions().at(1)->menu()->actions();
    ASSERT_EQ(view.size(), 3);
    for (QAction* toggle : view)
        EXPECT_TRUE(toggle->isCheckable() && toggle->isChecked()) << toggle->text().toStdString();
    EXPECT_EQ(actionTexts(app.menuBar()->actions().at(4)->menu()), QStringList({"&About...", "--", "What's &This"}));
}

TEST(MainWindow, CommandsReportStartAndReadyInTheStatusBar)
{
    IvraApp app;
    app.show();
    QStringList messages;
    QObject::connect(app.statusBar(), &QStatusBar::messageChanged, [&messages](const QString& m) {
        if (!m.isEmpty())
            messages << m;
    });
    app.slotFileClose();
    app.slotFileClearAll();
    app.slotViewToolBar(true);
    app.slotViewStatusBar(true);
    app.slotViewLeftBar(true);
    EXPECT_EQ(messages, QStringList({"Closing file...", "Ready.", "Closes all documents...", "Ready.",
                                     "Toggle toolbar...", "Ready.", "Toggle statusbar...", "Ready.",
                                     "Toggle image list...", "Ready."}));

    messages.clear();
    QTemporaryDir dir;
    app.openImage(writePnm(dir.filePath("x.pgm"), 2, 2, true, 3));
    EXPECT_EQ(messages, QStringList({"Opening file...", "Ready."}));

    // The About box: "Ivra", then "Version " with nothing after it, then the credit.
    MessageBoxCatcher boxes;
    app.slotHelpAbout();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "About...");
    const QStringList lines = boxes.text().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "Ivra");
    EXPECT_EQ(lines[1], "Version ");
    EXPECT_FALSE(lines[2].isEmpty());
}

TEST(MainWindow, BarsAreToggledFromTheViewMenuOnly)
{
    IvraApp app;
    app.show();
    QToolBar* bar = app.findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    // A right click on the tool bar opens no menu of bars (it would show the
    // untitled image list as a blank item).
    QCoreApplication::processEvents();
    const QPoint onBar(bar->width() / 2, bar->height() / 2);
    ASSERT_EQ(app.childAt(bar->mapTo(&app, onBar)), bar->childAt(onBar) ? bar->childAt(onBar) : bar);
    QContextMenuEvent event(QContextMenuEvent::Mouse, onBar, bar->mapToGlobal(onBar));
    QCoreApplication::sendEvent(bar, &event);
    QWidget* popup = QApplication::activePopupWidget();
    EXPECT_EQ(popup, nullptr);
    if (popup)
        popup->close();

    // View > Toolbar hides and shows the bar.
    QAction* toggle = app.menuBar()->actions().at(1)->menu()->actions().at(0);
    toggle->trigger();
    EXPECT_TRUE(bar->isHidden());
    toggle->trigger();
    EXPECT_FALSE(bar->isHidden());
}

TEST(MainWindow, ShowAndHideImageReuseTheWindow)
{
    IvraApp app;
    DataEntry* e = addTopLevel(app, rgbImage(3, 2, 10, 20, 30), "pic");
    app.slotUpdateDataList();

    select(app, e);
    QPointer<QWidget> window = e->window();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<IvraViewImage2*>(window), nullptr);
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(window->windowTitle(), "pic");

    app.slotImageHide();
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(e->window(), window);

    // Closing a Show Image window only hides it, too.
    app.slotImageShow();
    EXPECT_EQ(e->window(), window);
    EXPECT_FALSE(window->isHidden());
    window->close();
    EXPECT_FALSE(window.isNull());
    EXPECT_TRUE(window->isHidden());
    app.slotImageShow();
    EXPECT_EQ(e->window(), window);
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(app.workspace()->subWindowList().size(), 1);
}

TEST(MainWindow, ArrowKeysWalkTheListAndBringUpEachWindow)
{
    IvraApp app;
    DataEntry* a = addTopLevel(app, grayImage(2, 2, 1), "a");
    DataEntry* b = addTopLevel(app, grayImage(2, 2, 2), "b");
    app.slotUpdateDataList();
    app.show();
    app.activateWindow();
    QApplication::setActiveWindow(&app);
    app.dataList()->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(app.dataList()->hasFocus());

    // From a, Down selects b and Up a again: each opens its window, and the keys
    // stay in the list.
    app.dataList()->setCurrentItem(app.itemOf(a), 0, QItemSelectionModel::NoUpdate);
    const std::pair<Qt::Key, DataEntry*> steps[] = {{Qt::Key_Down, b}, {Qt::Key_Up, a}};
    for (const auto& [key, expected] : steps) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(app.dataList(), &press);
        ASSERT_NE(expected->window(), nullptr) << expected->name().toStdString();
        EXPECT_TRUE(expected->window()->isVisible());
        EXPECT_EQ(app.activeView(), expected->window());
        EXPECT_TRUE(app.dataList()->hasFocus()) << expected->name().toStdString();
    }

    // The popup's Show Image hands the focus to the window.
    app.slotImageHide();
    EXPECT_TRUE(a->window()->isHidden());
    app.slotImageShow();
    EXPECT_FALSE(a->window()->isHidden());
    EXPECT_FALSE(app.dataList()->hasFocus());
    EXPECT_TRUE(a->window()->isAncestorOf(QApplication::focusWidget()) || a->window()->hasFocus());
}

TEST(MainWindow, HistogramEntriesWithoutAWindowTypeGetNone)
{
    IvraApp app;
    DataEntry* e = addTopLevel(app, grayImage(1, 1, 0), "g");
    app.slotUpdateDataList();
    select(app, e);
    EXPECT_NE(e->window(), nullptr);
    // Nothing selected: nothing happens.
    app.dataList()->clearSelection();
    app.slotImageShow();
    EXPECT_EQ(app.workspace()->subWindowList().size(), 1);
}

TEST(MainWindow, WindowMenuListsWindowsAndMarksTheActiveOne)
{
    IvraApp app;
    app.show();
    app.slotWindowMenuAboutToShow();
    EXPECT_EQ(actionTexts(app.windowMenu()), QStringList({"&Cascade", "&Tile"}));
    EXPECT_FALSE(app.windowMenu()->actions().at(0)->isEnabled());

    DataEntry* a = addTopLevel(app, grayImage(2, 2, 1), "first");
    DataEntry* b = addTopLevel(app, grayImage(2, 2, 2), "second");
    app.slotUpdateDataList();
    app.showEntry(a);
    app.showEntry(b);
    app.slotWindowMenuAboutToShow();
    const QList<QAction*> items = app.windowMenu()->actions();
    EXPECT_EQ(actionTexts(app.windowMenu()), QStringList({"&Cascade", "&Tile", "--", "&1 first", "&2 second"}));
    EXPECT_TRUE(items.at(0)->isEnabled());
    EXPECT_FALSE(items.at(3)->isChecked());
    EXPECT_TRUE(items.at(4)->isChecked());

    // Choosing an item activates that window.
    items.at(3)->trigger();
    EXPECT_EQ(app.activeView(), a->window());
    app.slotWindowMenuAboutToShow();
    EXPECT_TRUE(app.windowMenu()->actions().at(3)->isChecked());
    EXPECT_FALSE(app.windowMenu()->actions().at(4)->isChecked());
}

TEST(MainWindow, CloseFileOnlyHidesTheActiveWindow)
{
    IvraApp app;
    app.show();
    DataEntry* e = addTopLevel(app, grayImage(2, 2, 1), "kept");
    app.slotUpdateDataList();
    QWidget* w = app.showEntry(e);
    app.slotFileClose();
    EXPECT_TRUE(w->isHidden());
    EXPECT_EQ(e->window(), w);
    EXPECT_EQ(app.dataList()->topLevelItemCount(), 1);
    EXPECT_EQ(app.statusBar()->currentMessage(), "Ready.");
    // A hidden window is not listed in the Window menu.
    app.slotWindowMenuAboutToShow();
    EXPECT_EQ(actionTexts(app.windowMenu()), QStringList({"&Cascade", "&Tile"}));
}

TEST(MainWindow, ClearAllDeletesEntriesAndTheirWindows)
{
    IvraApp app;
    app.show();
    DataEntry* a = addTopLevel(app, grayImage(2, 2, 1), "a");
    DataEntry* child = a->addChild(grayImage(2, 2, 1), "child");
    app.slotUpdateDataList();
    QPointer<QWidget> wa = app.showEntry(a);
    QPointer<QWidget> wc = app.showEntry(child);
    wc->hide(); // hidden windows go as well

    app.slotFileClearAll();
    EXPECT_TRUE(app.root()->children().empty());
    EXPECT_EQ(app.dataList()->topLevelItemCount(), 0);
    EXPECT_TRUE(wa.isNull());
    EXPECT_TRUE(wc.isNull());
    EXPECT_TRUE(app.workspace()->subWindowList().isEmpty());

    // The tree is usable again: a new entry is number 0.
    DataEntry* fresh = addTopLevel(app, grayImage(1, 1, 0), "fresh");
    app.slotUpdateDataList();
    EXPECT_EQ(app.entryAt(0), fresh);
}

TEST(MainWindow, RegisterOperatorCreatesEachCategoryOnceAfterWhatIsThere)
{
    IvraApp app; // categories the catalogue does not use, so both are new
    const int before = static_cast<int>(app.operatorMenu()->actions().size());
    class Dummy : public OperatorDialog {
    public:
        explicit Dummy(QWidget* p) : OperatorDialog(p, "Dummy", {TypeImageGray}) {}
        void execute() override {}
        QString helpText() const override { return {}; }
    };
    auto* d = new Dummy(&app);
    // Categories no catalogue row uses, so they are new whatever the menu holds.
    app.registerOperator("One", d, "tip one", "First Extras");
    app.registerOperator("Two", d, "tip two", "First Extras");
    app.registerOperator("Three", d, "tip three", "Second Extras");
    const QList<QAction*> actions = app.operatorMenu()->actions();
    ASSERT_EQ(actions.size(), before + 2);
    ASSERT_NE(actions.at(before)->menu(), nullptr);
    EXPECT_EQ(actions.at(before)->text(), "First Extras");
    EXPECT_EQ(actionTexts(actions.at(before)->menu()), QStringList({"One", "Two"}));
    EXPECT_EQ(actions.at(before + 1)->text(), "Second Extras");
    EXPECT_EQ(actions.at(before)->menu()->actions().at(1)->statusTip(), "tip two");
}

// ------------------------------------------------------------------- files

TEST(OpenFile, LoadsGrayAndColourFilesAsTopLevelEntriesWithWindows)
{
    QTemporaryDir dir;
    IvraApp app;
    app.show();
    DataEntry* gray = app.openImage(writePnm(dir.filePath("lena.pgm"), 4, 3, true, 77));
    ASSERT_NE(gray, nullptr);
    EXPECT_EQ(gray->name(), "lena.pgm");
    EXPECT_EQ(gray->type(), TypeImageGray);
    ASSERT_NE(gray->window(), nullptr);
    EXPECT_EQ(gray->window()->windowTitle(), "lena.pgm");

    DataEntry* colour = app.openImage(writePnm(dir.filePath("photo.ppm"), 2, 2, false, 200));
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->type(), TypeImageRGB);
    EXPECT_EQ(app.entryAt(1), colour);
    EXPECT_EQ(app.dataList()->topLevelItemCount(), 2);

    // A loaded file's window is destroyed on close; Show Image then makes a new one.
    QPointer<QWidget> first = colour->window();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(colour->window(), nullptr);
    QWidget* second = app.showEntry(colour);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(colour->window(), second);
}

TEST(OpenFile, WindowsOpenWhollyInsideTheWorkspace)
{
    // Wide and tall pictures, several of them: every window's frame (title bar and
    // buttons) lies inside the visible workspace.
    QTemporaryDir dir;
    IvraApp app;
    app.resize(900, 700);
    app.show();
    QCoreApplication::processEvents();
    const QRect room(QPoint(0, 0), app.workspace()->viewport()->size());
    ASSERT_FALSE(room.isEmpty());
    const QSize sizes[] = {{600, 400}, {600, 400}, {1500, 80}, {60, 1200}, {300, 300}};
    int n = 0;
    std::optional<Qt::WindowFlags> firstFlags;
    {
        // A window made while the workspace is hidden is not placed again: the reference.
        QMdiArea hidden;
        DataEntry entry(grayImage(2, 2, 0), "reference");
        IvraViewImage2 reference(&hidden, &entry);
        firstFlags = reference.windowFlags();
    }
    for (const QSize& size : sizes) {
        DataEntry* e = app.openImage(writePnm(dir.filePath(QStringLiteral("p%1.ppm").arg(n++)), size.width(),
                                              size.height(), false, 90));
        ASSERT_NE(e, nullptr);
        // Still a sub-window of the workspace with its title bar buttons.
        EXPECT_FALSE(e->window()->isWindow());
        EXPECT_EQ(e->window()->windowFlags(), firstFlags.value_or(e->window()->windowFlags()));
        EXPECT_TRUE(e->window()->windowFlags() & Qt::WindowMaximizeButtonHint);
        firstFlags = e->window()->windowFlags();
        EXPECT_EQ(e->window()->parentWidget(), app.workspace()->viewport());
        const QRect frame = e->window()->geometry();
        EXPECT_TRUE(room.contains(frame)) << n << ": " << frame.x() << "," << frame.y() << " " << frame.width()
                                          << "x" << frame.height() << " in " << room.width() << "x"
                                          << room.height();
    }
}

TEST(OpenFile, DroppedFilesOpenLikeFileOpen)
{
    QTemporaryDir dir;
    IvraApp app;
    EXPECT_TRUE(app.acceptDrops());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(writePnm(dir.filePath("one.pgm"), 2, 2, true, 1)),
                  QUrl::fromLocalFile(writePnm(dir.filePath("two.ppm"), 2, 2, false, 1))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app, &drop);
    // The files open once the drop has been answered.
    EXPECT_TRUE(app.root()->children().empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(app.root()->children().size(), 2u);
    EXPECT_EQ(app.entryAt(0)->name(), "one.pgm");
    EXPECT_EQ(app.entryAt(1)->name(), "two.ppm");
    EXPECT_NE(app.entryAt(1)->window(), nullptr);
    EXPECT_EQ(app.dataList()->topLevelItemCount(), 2);

    // Files dropped on the image list or on a picture reach the main window too;
    // a drag of anything but local files is refused.
    auto* picture = qobject_cast<IvraViewImage2*>(app.entryAt(1)->window());
    ASSERT_NE(picture, nullptr);
    for (QWidget* target : {app.dataList()->viewport(), static_cast<QWidget*>(picture->display()->display())}) {
        QDragEnterEvent over(QPoint(1, 1), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        over.ignore();
        QCoreApplication::sendEvent(target, &over);
        EXPECT_TRUE(over.isAccepted()) << target->metaObject()->className();
    }
    QMimeData web;
    web.setUrls({QUrl("https://example.org/picture.png")});
    QDragEnterEvent remote(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    remote.ignore();
    QCoreApplication::sendEvent(&app, &remote);
    EXPECT_FALSE(remote.isAccepted());
}

TEST(OpenFile, RefusesWrongExtensionsAndUnreadableFiles)
{
    QTemporaryDir dir;
    IvraApp app;
    QImage png(2, 2, QImage::Format_RGB32);
    png.fill(Qt::red);
    const QString upper = dir.filePath("photo.PNG");
    ASSERT_TRUE(png.save(upper, "PNG"));
    QFile junk(dir.filePath("junk.ppm"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a picture");
    junk.close();

    for (const QString& path : {upper, junk.fileName(), dir.filePath("missing.png")}) {
        MessageBoxCatcher boxes;
        EXPECT_EQ(app.openImage(path), nullptr) << path.toStdString();
        EXPECT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.title(), "I/O Error !");
        EXPECT_EQ(boxes.text(), "Could not open the document !");
    }
    EXPECT_TRUE(app.root()->children().empty());
    EXPECT_TRUE(app.workspace()->subWindowList().isEmpty());
}

TEST(SaveAs, NameDecidesTheFormat)
{
    using P = std::pair<QString, QString>;
    EXPECT_EQ(IvraApp::saveTarget("a.png"), P("a.png", "PNG"));
    EXPECT_EQ(IvraApp::saveTarget("a.PPM"), P("a.PPM", "PPM"));
    EXPECT_EQ(IvraApp::saveTarget("/x/a.xpm"), P("/x/a.xpm", "XPM"));
    EXPECT_EQ(IvraApp::saveTarget("a"), P("a.png", "PNG"));
    EXPECT_EQ(IvraApp::saveTarget("a.jpg"), P("a.jpg.png", "PNG"));
    EXPECT_EQ(IvraApp::saveTarget("/dir.ppm/a"), P("/dir.ppm/a.png", "PNG"));
}

TEST(SaveAs, WritesTheActiveWindowsPictureAndReportsFailure)
{
    QTemporaryDir dir;
    IvraApp app;
    app.show();
    // Nothing active: nothing happens, no box.
    {
        MessageBoxCatcher boxes;
        EXPECT_TRUE(app.saveActiveWindowAs(dir.filePath("none.png")));
        EXPECT_EQ(boxes.count(), 0);
        EXPECT_FALSE(QFile::exists(dir.filePath("none.png")));
    }

    DataEntry* e = addTopLevel(app, rgbImage(3, 2, 255, 128, 1), "pic");
    app.slotUpdateDataList();
    app.showEntry(e);

    // An existing file is replaced by the picture.
    const QString target = dir.filePath("out.ppm");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    EXPECT_TRUE(app.saveActiveWindowAs(target));
    const std::unique_ptr<Image> back = ivra::readPicture(target);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->type(), TypeImageRGB);
    EXPECT_EQ(back->width(), 3);
    EXPECT_EQ(static_cast<ImageRGB&>(*back).green()[5], 128);
    auto* view = qobject_cast<IvraView*>(e->window());
    EXPECT_EQ(view->path(), target);
    EXPECT_EQ(view->fileName(), "out.ppm");
    EXPECT_EQ(view->windowTitle(), "pic");

    // An unknown extension gets ".png".
    EXPECT_TRUE(app.saveActiveWindowAs(dir.filePath("out.bmp")));
    EXPECT_EQ(ivra::readPicture(dir.filePath("out.bmp.png"))->width(), 3);
    EXPECT_EQ(view->path(), dir.filePath("out.bmp.png"));

    MessageBoxCatcher boxes;
    EXPECT_FALSE(app.saveActiveWindowAs(dir.filePath("no/such/dir/x.png")));
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "I/O Error !");
    EXPECT_EQ(boxes.text(), "Could not save the current document !");
    EXPECT_EQ(view->path(), dir.filePath("out.bmp.png"));
}
