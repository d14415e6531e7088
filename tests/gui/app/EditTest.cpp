// Work is not lost: Clear All, Delete and Exit ask or can be undone; windows closed
// by their own button come back whole.

#include "gui/GuiTestSupport.h"

#include "app/DataEntryIterator.h"
#include "app/SessionActions.h"

#include <QAction>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPointer>

using namespace guitest;

namespace {

struct EditFixture : ::testing::Test {
    EditFixture()
    {
        app.show();
        a = addTopLevel(app, grayImage(4, 4, 1), "a");
        a1 = a->addChild(grayImage(4, 4, 2), "a1");
        a1->addChild(grayImage(4, 4, 3), "a1x");
        a2 = a->addChild(grayImage(4, 4, 4), "a2");
        b = addTopLevel(app, rgbImage(4, 4, 1, 2, 3), "b");
        app.slotUpdateDataList();
        app.showEntry(a1);
        app.showEntry(b)->hide();
    }
    // Pre-order names, a dot per level, "*" for a window showing.
    QStringList tree()
    {
        QStringList names;
        DataEntryIterator it(app.root());
        it.first();
        for (DataEntry* e = it.next(); e; e = it.next())
            names << QString(it.depth(), '.') + e->name() + (e->window() && e->window()->isVisible() ? "*" : "");
        return names;
    }
    MainWindow app;
    DataEntry *a, *a1, *a2, *b;
};

const QStringList whole{"a", ".a1*", "..a1x", ".a2", "b"};

} // namespace

TEST_F(EditFixture, ClearAllAsksAndUndoBringsBackTreeAndShownWindows)
{
    {
        MessageBoxCatcher no(QMessageBox::No);
        app.slotFileClearAll();
        EXPECT_TRUE(no.text.startsWith("Clear all 2 pictures")) << no.text.toStdString();
    }
    EXPECT_EQ(tree(), whole);
    {
        MessageBoxCatcher yes(QMessageBox::Yes);
        app.slotFileClearAll();
    }
    EXPECT_TRUE(tree().isEmpty());
    EXPECT_TRUE(app.workspace()->subWindowList().isEmpty());
    app.slotEditUndo();
    EXPECT_EQ(tree(), whole);
    app.slotEditUndo(); // one level: nothing more to bring back
    EXPECT_EQ(tree(), whole);

    MessageBoxCatcher none;
    app.root()->clearChildren();
    app.slotFileClearAll(); // nothing to clear: no question
    EXPECT_EQ(none.count, 0);
}

TEST_F(EditFixture, DeleteKeyRemovesTheSubtreeUndoPutsItBackInPlace)
{
    // The list's own action on the Delete key, the one its popup shows too.
    QAction* del = nullptr;
    for (QAction* action : app.dataList()->actions())
        if (action->shortcut() == QKeySequence(Qt::Key_Delete) && app.listPopupMenu()->actions().contains(action))
            del = action;
    ASSERT_NE(del, nullptr);
    const auto press = [&](DataEntry* e) {
        app.itemOf(e)->setSelected(true);
        del->trigger();
    };
    press(a1);
    EXPECT_EQ(tree(), QStringList({"a", ".a2", "b"}));
    app.slotEditUndo();
    EXPECT_EQ(tree(), whole);

    // Only the last removal is kept.
    press(a2);
    press(b);
    app.slotEditUndo();
    EXPECT_EQ(tree(), QStringList({"a", ".a1*", "..a1x", "b*"})); // selecting b showed it
}

TEST_F(EditFixture, ExitAsksWhileThereArePictures)
{
    for (const auto& [answer, stays] : {std::pair{QMessageBox::No, true}, {QMessageBox::Yes, false}}) {
        app.show();
        MessageBoxCatcher catcher(answer);
        app.close();
        EXPECT_EQ(catcher.count, 1);
        EXPECT_EQ(app.isVisible(), stays);
    }
}

TEST(ExitAfterASession, AsksOnlyWhileTheTreeDiffersFromTheSessionSavedOrOpened)
{
    QTemporaryDir dir;
    MainWindow app;
    app.show();
    DataEntry* pic = app.openImage(writePng(dir.filePath("p.png"), 6, 4));
    const QString session = dir.filePath("s.ivra");
    QString error;
    const auto add = [&] { runFromMenu(app, "Filter/SNN", pic); };
    const auto save = [&] { EXPECT_TRUE(SessionActions::saveSession(app, session, error)); };
    const auto open = [&](bool replace) { EXPECT_TRUE(SessionActions::openSession(app, session, replace, error)); };
    const auto removeFirst = [&] {
        app.dataList()->setCurrentItem(app.itemOf(pic->children()[0].get())), app.slotEditDelete();
    };
    // Each step, then whether Exit would ask.
    const std::pair<std::function<void()>, bool> steps[] = {
        {add, true}, {save, false}, {add, true}, {save, false}, {removeFirst, true},
        {[&] { app.slotEditUndo(); }, false},     // the saved tree again
        {[&] { removeFirst(), add(); }, true},    // as many entries as saved, one of them new
        {[&] { open(false); }, true}, {[&] { open(true); }, false}, {[&] { open(false); }, true},
        {[&] { app.root()->clearChildren(), open(false); }, false}}; // into an empty workbench: all from the file
    for (int i = 0; const auto& [step, asks] : steps) {
        step();
        EXPECT_EQ(app.hasUnsavedResults(), asks) << "step " << i++;
    }
    MessageBoxCatcher no(QMessageBox::No);
    app.close();
    EXPECT_EQ(no.count, 0);
    EXPECT_FALSE(app.isVisible());
}

TEST(EntryWindowClose, TheCloseButtonHidesTheWindowWholeForTheNextShow)
{
    MainWindow app;
    app.show();
    DataEntry* e = addTopLevel(app, rgbImage(8, 6, 1, 2, 3), "pic");
    auto* window = qobject_cast<QMdiSubWindow*>(app.showEntry(e));
    window->close();
    EXPECT_EQ(app.showEntry(e), window);
    EXPECT_TRUE(window->widget()->isVisible());
}
