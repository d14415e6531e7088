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
    ASSERT_NE(pic, nullptr);
    const QString session = dir.filePath("s.ivra");
    QString error;
    const auto asksOnExit = [&app] { // answered No: the window stays
        MessageBoxCatcher no(QMessageBox::No);
        app.close();
        return no.count == 1;
    };
    const auto addResult = [&] { runFromMenu(app, "Filter/SNN", pic); };
    const auto deleteFirstResult = [&] {
        app.dataList()->setCurrentItem(app.itemOf(pic->children().front().get()));
        app.slotEditDelete();
    };
    addResult();
    EXPECT_TRUE(asksOnExit());
    ASSERT_TRUE(SessionActions::saveSession(app, session, error)) << error.toStdString();
    EXPECT_FALSE(app.hasUnsavedResults());
    addResult();
    EXPECT_TRUE(asksOnExit());
    ASSERT_TRUE(SessionActions::saveSession(app, session, error));
    deleteFirstResult();
    EXPECT_TRUE(asksOnExit());
    app.slotEditUndo(); // the saved tree again
    EXPECT_FALSE(app.hasUnsavedResults());
    deleteFirstResult();
    addResult(); // as many entries as saved, one of them new
    EXPECT_TRUE(app.hasUnsavedResults());
    ASSERT_TRUE(SessionActions::openSession(app, session, false, error)); // added to it
    EXPECT_TRUE(asksOnExit());
    ASSERT_TRUE(SessionActions::openSession(app, session, true, error));
    EXPECT_FALSE(asksOnExit());
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
