// The main window: keys, windows and their menu, Close File, Clear All, opening,
// dropping and saving files, the image tree and list, File > Open with its preview.

#include "gui/GuiTestSupport.h"

#include "app/DataEntryIterator.h"
#include "app/OpenFileDialog.h"

#include "PictureReader.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMap>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QToolBar>
#include <QUrl>

using namespace guitest;

namespace {

void select(MainWindow& app, DataEntry* entry)
{
    QTreeWidgetItem* item = app.itemOf(entry);
    ASSERT_NE(item, nullptr);
    app.dataList()->clearSelection();
    item->setSelected(true);
}

QStringList windowMenuTexts(MainWindow& app)
{
    app.slotWindowMenuAboutToShow();
    QStringList texts;
    for (const QAction* a : app.windowMenu()->actions())
        texts << (a->isSeparator() ? QStringLiteral("--") : a->text() + (a->isChecked() ? "*" : ""));
    return texts;
}

} // namespace

TEST(MainWindow, EveryKeyBelongsToOneActionOnlyAndTheBarHasNoMenu)
{
    // Two actions on one key leave that key dead; a picture window brings a menu of its own.
    MainWindow app;
    app.show();
    app.showEntry(addTopLevel(app, grayImage(2, 2, 1), "one"));
    QMap<QString, QStringList> owners;
    for (const QAction* a : app.findChildren<QAction*>())
        for (const QKeySequence& key : a->shortcuts())
            owners[key.toString()] << a->text();
    for (const char* key : {"Ctrl+O", "Ctrl+S", "Ctrl+C", "Ctrl+W", "Ctrl+Q", "Shift+F1"})
        EXPECT_TRUE(owners.contains(key)) << key;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << it.key().toStdString() << ": " << it.value().join(", ").toStdString();

    // The toolkit's menu of bars would show the untitled image list as a blank item.
    auto* bar = app.findChild<QToolBar*>();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(bar, &event);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST(MainWindow, ShowHideAndCloseReuseTheWindowClearAllDeletesIt)
{
    MainWindow app;
    app.show();
    DataEntry* e = addTopLevel(app, rgbImage(3, 2, 10, 20, 30), "pic");
    app.slotUpdateDataList();
    select(app, e); // a new selection shows the window
    QPointer<QWidget> window = e->window();
    ASSERT_NE(qobject_cast<PictureWindow*>(window), nullptr);
    EXPECT_FALSE(window->isHidden());

    app.slotImageHide();
    EXPECT_TRUE(window->isHidden());
    app.slotImageShow();
    EXPECT_FALSE(window->isHidden());
    window->close(); // a Show Image window only hides
    EXPECT_FALSE(window.isNull());
    EXPECT_TRUE(window->isHidden());
    app.slotImageShow();
    EXPECT_EQ(e->window(), window);
    EXPECT_FALSE(window->isHidden());
    app.slotFileClose(); // hides the active window, keeps entry and window
    EXPECT_TRUE(window->isHidden());
    EXPECT_EQ(e->window(), window);
    EXPECT_EQ(app.workspace()->subWindowList().size(), 1);

    // Clear All deletes entries and their windows, hidden ones as well.
    DataEntry* child = e->addChild(grayImage(2, 2, 1), "child");
    app.slotUpdateDataList();
    QPointer<QWidget> childWindow = app.showEntry(child);
    {
        MessageBoxCatcher yes(QMessageBox::Yes);
        app.slotFileClearAll();
    }
    EXPECT_TRUE(app.root()->children().empty());
    EXPECT_EQ(app.dataList()->topLevelItemCount(), 0);
    EXPECT_TRUE(window.isNull() && childWindow.isNull());
    EXPECT_TRUE(app.workspace()->subWindowList().isEmpty());
}

TEST(MainWindow, ArrowKeysWalkTheListAndBringUpEachWindow)
{
    MainWindow app;
    DataEntry* a = addTopLevel(app, grayImage(2, 2, 1), "a");
    DataEntry* b = addTopLevel(app, grayImage(2, 2, 2), "b");
    app.slotUpdateDataList();
    app.show();
    app.activateWindow();
    QApplication::setActiveWindow(&app);
    app.dataList()->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(app.dataList()->hasFocus());

    // Down selects b and Up a again: each opens its window, the keys stay in the list.
    app.dataList()->setCurrentItem(app.itemOf(a), 0, QItemSelectionModel::NoUpdate);
    for (const auto& [key, expected] : {std::pair{Qt::Key_Down, b}, std::pair{Qt::Key_Up, a}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(app.dataList(), &press);
        ASSERT_NE(expected->window(), nullptr) << expected->name().toStdString();
        EXPECT_TRUE(expected->window()->isVisible());
        EXPECT_EQ(app.activeView(), expected->window());
        EXPECT_TRUE(app.dataList()->hasFocus()) << expected->name().toStdString();
    }
    // The popup's Show Image hands the focus to the window.
    app.slotImageHide();
    app.slotImageShow();
    EXPECT_FALSE(app.dataList()->hasFocus());
    EXPECT_TRUE(a->window()->isAncestorOf(QApplication::focusWidget()) || a->window()->hasFocus());
}

TEST(MainWindow, WindowMenuListsShownWindowsAndActivatesTheChosenOne)
{
    MainWindow app;
    app.show();
    EXPECT_EQ(windowMenuTexts(app), QStringList({"&Cascade", "&Tile"}));
    EXPECT_FALSE(app.windowMenu()->actions().at(0)->isEnabled());

    DataEntry* a = addTopLevel(app, grayImage(2, 2, 1), "first");
    DataEntry* b = addTopLevel(app, grayImage(2, 2, 2), "second");
    app.showEntry(a);
    app.showEntry(b);
    EXPECT_EQ(windowMenuTexts(app), QStringList({"&Cascade", "&Tile", "--", "&1 first", "&2 second*"}));
    EXPECT_TRUE(app.windowMenu()->actions().at(0)->isEnabled());
    app.windowMenu()->actions().at(3)->trigger();
    EXPECT_EQ(app.activeView(), a->window());
    EXPECT_EQ(windowMenuTexts(app), QStringList({"&Cascade", "&Tile", "--", "&1 first*", "&2 second"}));
    app.slotFileClose(); // a hidden window is not listed
    const QStringList texts = windowMenuTexts(app);
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[3].startsWith("&1 second"));
}

// ------------------------------------------------------------------- files

TEST(OpenFile, LoadsFilesAsTopLevelEntriesWhoseWindowsGoWhenClosedRefusesOthers)
{
    QTemporaryDir dir;
    MainWindow app;
    app.show();
    DataEntry* gray = app.openImage(writePnm(dir.filePath("lena.pgm"), 4, 3, true, 77));
    DataEntry* color = app.openImage(writePnm(dir.filePath("photo.ppm"), 2, 2, false, 200));
    ASSERT_TRUE(gray && color);
    EXPECT_EQ(gray->type(), TypeImageGray);
    EXPECT_EQ(color->type(), TypeImageRGB);
    EXPECT_EQ(childNames(app.root()), QStringList({"lena.pgm", "photo.ppm"}));
    EXPECT_EQ(app.dataList()->topLevelItemCount(), 2);

    QPointer<QWidget> first = color->window();
    ASSERT_NE(first, nullptr);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(color->window(), nullptr);
    EXPECT_NE(app.showEntry(color), nullptr);

    // Wrong extensions and unreadable files are refused with a box and add nothing.
    for (const QString& path : {writePng(dir.filePath("photo.PNG"), 2, 2),
                                writeFile(dir.filePath("junk.ppm"), "this is not a picture"), dir.filePath("missing.png")}) {
        MessageBoxCatcher boxes;
        EXPECT_EQ(app.openImage(path), nullptr) << path.toStdString();
        EXPECT_EQ(boxes.count, 1);
        EXPECT_EQ(boxes.title, "I/O Error !");
    }
    EXPECT_EQ(app.root()->children().size(), 2u);
    EXPECT_EQ(app.workspace()->subWindowList().size(), 2);
}

TEST(OpenFile, WindowsOpenWhollyInsideTheWorkspace)
{
    // Wide and tall pictures, several of them: every window's frame (title bar and
    // buttons) lies inside the visible workspace.
    QTemporaryDir dir;
    MainWindow app;
    app.resize(900, 700);
    app.show();
    QCoreApplication::processEvents();
    const QRect room(QPoint(0, 0), app.workspace()->viewport()->size());
    ASSERT_FALSE(room.isEmpty());
    int n = 0;
    for (const QSize size : {QSize(600, 400), QSize(600, 400), QSize(1500, 80), QSize(60, 1200), QSize(300, 300)}) {
        const QString path = dir.filePath(QStringLiteral("p%1.ppm").arg(n++));
        DataEntry* e = app.openImage(writePnm(path, size.width(), size.height(), false, 90));
        ASSERT_NE(e, nullptr);
        // Still a sub-window of the workspace with its title bar buttons.
        EXPECT_EQ(e->window()->parentWidget(), app.workspace()->viewport());
        EXPECT_TRUE(e->window()->windowFlags() & Qt::WindowMaximizeButtonHint);
        const QRect frame = e->window()->geometry();
        EXPECT_TRUE(room.contains(frame)) << n << ": " << frame.x() << "," << frame.y() << " " << frame.width()
                                          << "x" << frame.height();
    }
}

TEST(OpenFile, DroppedFilesOpenOnceTheDropIsOver)
{
    QTemporaryDir dir;
    MainWindow app;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(writePnm(dir.filePath("one.pgm"), 2, 2, true, 1)),
                  QUrl::fromLocalFile(writePnm(dir.filePath("two.ppm"), 2, 2, false, 1))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&app, &drop);
    EXPECT_TRUE(app.root()->children().empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(childNames(app.root()), QStringList({"one.pgm", "two.ppm"}));
    EXPECT_NE(app.entryAt(1)->window(), nullptr);

    // Files dragged over the image list or a picture reach the main window too;
    // a drag of anything but local files is refused.
    auto* picture = qobject_cast<PictureWindow*>(app.entryAt(1)->window());
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

TEST(SaveAs, WritesTheActiveWindowsPictureAndReportsFailure)
{
    QTemporaryDir dir;
    MainWindow app;
    app.show();
    EXPECT_TRUE(app.saveActiveWindowAs(dir.filePath("none.png"))); // nothing active: nothing to do
    EXPECT_FALSE(QFile::exists(dir.filePath("none.png")));

    DataEntry* e = addTopLevel(app, rgbImage(3, 2, 255, 128, 1), "pic");
    app.showEntry(e);
    const QString target = writeFile(dir.filePath("out.ppm"), "old contents");
    EXPECT_TRUE(app.saveActiveWindowAs(target));
    const std::unique_ptr<Image> back = readPicture(target);
    ASSERT_EQ(back->type(), TypeImageRGB);
    EXPECT_TRUE(sameData(*back, *e->data()));
    // The name decides the format; any other name is written as PNG.
    for (const char* name : {"a.PNG", "b.xpm", "c.txt", "d.jpg", "e.tiff", "f.bmp"})
        EXPECT_TRUE(app.saveActiveWindowAs(dir.filePath(name)));
    for (const auto& [name, format] : {std::pair{"a.PNG", "png"}, {"b.xpm", "xpm"}, {"c.txt.png", "png"},
                                       {"d.jpg", "jpeg"}, {"e.tiff", "tiff"}, {"f.bmp", "bmp"}}) {
        EXPECT_TRUE(QFile::exists(dir.filePath(name))) << name; // the reader would try added suffixes
        EXPECT_EQ(QImageReader(dir.filePath(name)).format(), format);
    }

    MessageBoxCatcher boxes;
    EXPECT_FALSE(app.saveActiveWindowAs(dir.filePath("no/such/dir/x.png")));
    EXPECT_EQ(boxes.count, 1);
    EXPECT_EQ(boxes.title, "I/O Error !");
}

TEST(ImageTree, WalksPreOrderNumbersFromZeroBelowTheRootAndTheListReachesEachEntry)
{
    DataEntry root(nullptr, "Root", nullptr, true);
    DataEntry* a = root.addChild(grayImage(1, 1, 0), "a");
    DataEntry* a1 = a->addChild(grayImage(1, 1, 0), "a1");
    DataEntry* a1x = a1->addChild(grayImage(1, 1, 0), "a1x");
    a->addChild(grayImage(1, 1, 0), "a2");
    DataEntry* b = root.addChild(grayImage(1, 1, 0), "b");

    DataEntryIterator it(&root);
    EXPECT_EQ(it.first(), &root);
    QStringList names;
    QList<int> depths;
    for (DataEntry* e = it.next(); e; e = it.next()) {
        names << e->name();
        depths << it.depth();
    }
    EXPECT_EQ(names, QStringList({"a", "a1", "a1x", "a2", "b"}));
    EXPECT_EQ(depths, QList<int>({0, 1, 2, 1, 0}));

    for (const auto& [i, e] : {std::pair{0, a}, {2, a1x}, {4, b}, {5, nullptr}, {-1, nullptr}})
        EXPECT_EQ(entryAt(&root, i), e) << i;
    EXPECT_EQ(entryNumber(&root, b), 4);
    EXPECT_EQ(entryNumber(&root, &root), -1);

    // The image list orders siblings by creation, numerically, and each row reaches its entry.
    MainWindow app;
    for (int i = 0; i < 12; ++i)
        addTopLevel(app, grayImage(1, 1, i), QStringLiteral("p%1").arg(i));
    app.slotUpdateDataList();
    QTreeWidget* list = app.dataList();
    ASSERT_EQ(list->topLevelItemCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(list->topLevelItem(i)->text(0), QStringLiteral("p%1").arg(i));
    list->topLevelItem(10)->setSelected(true);
    DataEntry* tenth = app.entryAt(10);
    ASSERT_NE(tenth->window(), nullptr);
    EXPECT_EQ(tenth->window()->windowTitle(), "p10");
    EXPECT_EQ(app.entryAt(2)->window(), nullptr);
}

TEST(OpenDialog, PreviewShowsPpmAndPgmClearsForFoldersAndBrokenFilesStartsAtThePreference)
{
    QTemporaryDir dir;
    OpenFilePreview preview;
    preview.previewPath(writePnm(dir.filePath("a.ppm"), 30, 20, false, 9));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(30, 20));

    preview.previewPath(writePng(dir.filePath("b.png"), 5, 5)); // any readable picture
    EXPECT_EQ(preview.pictureArea()->size(), QSize(5, 5));

    preview.previewPath(dir.path());
    EXPECT_EQ(preview.pictureArea()->size(), QSize(0, 0));

    // A PPM that cannot be read clears the preview rather than leaving an older picture.
    preview.previewPath(writePnm(dir.filePath("d.pgm.bak"), 4, 4, true, 1)); // the complete extension counts
    EXPECT_EQ(preview.pictureArea()->size(), QSize(4, 4));
    preview.previewPath(writeFile(dir.filePath("broken.ppm"), "P6\n"));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(0, 0));
    EXPECT_TRUE(preview.pictureArea()->pixmap().isNull());

    // The dialog starts where the preference file says, with the preview beside the list.
    writeFile(dir.filePath("ivra.preference"), QStringLiteral("# start\nPATH=%1\nMAX_PIXELS=50\n").arg(dir.path()).toUtf8());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    OpenFileDialog opener;
    QDir::setCurrent(previous);
    EXPECT_EQ(opener.startLocation(), dir.path());
    EXPECT_EQ(opener.maxPixels(), 50);

    const QString ppm = writePnm(dir.filePath("shown.ppm"), 12, 9, false, 50);
    bool checked = false;
    driveModal([&opener] { EXPECT_FALSE(opener.exec()); }, [&] {
        QFileDialog* dialog = opener.dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        ASSERT_TRUE(dialog->isAncestorOf(opener.preview()));
        emit dialog->currentChanged(ppm); // highlighting a file reaches the preview
        EXPECT_EQ(opener.preview()->pictureArea()->size(), QSize(12, 9));
        EXPECT_EQ(opener.fileName(), ppm);
        checked = true;
        dialog->reject();
    });
    EXPECT_TRUE(checked);
    // The next dialog starts at the last chosen file.
    opener.loadImageSlot(ppm);
    EXPECT_EQ(opener.startLocation(), ppm);
}
