// The image tree: pre-order numbering, entryAt(), ownership of windows, and the
// list rebuilt from it.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/DataEntryIterator.h"

#include <QPointer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace guitest;

TEST(ImageTree, WalksPreOrderAndNumbersFromZeroBelowTheRoot)
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

    EXPECT_EQ(entryAt(&root, 0), a);
    EXPECT_EQ(entryAt(&root, 2), a1x);
    EXPECT_EQ(entryAt(&root, 4), b);
    EXPECT_EQ(entryAt(&root, 5), nullptr);
    EXPECT_EQ(entryAt(&root, -1), nullptr);
    EXPECT_EQ(entryNumber(&root, b), 4);
    EXPECT_EQ(entryNumber(&root, &root), -1);
}

TEST(ImageTree, EntriesTakeTheirWindowsWithThem)
{
    DataEntry root(nullptr, "Root", nullptr, true);
    DataEntry* e = root.addChild(rgbImage(2, 2, 1, 2, 3), "e");
    // A destroyed window clears the entry's reference.
    auto* w = new QWidget;
    e->setWindow(w);
    delete w;
    EXPECT_EQ(e->window(), nullptr);

    QPointer<QWidget> parentWindow = new QWidget;
    QPointer<QWidget> childWindow = new QWidget;
    e->setWindow(parentWindow);
    e->addChild(grayImage(1, 1, 0), "child")->setWindow(childWindow);
    root.clearChildren();
    EXPECT_TRUE(root.children().empty());
    EXPECT_TRUE(parentWindow.isNull());
    EXPECT_TRUE(childWindow.isNull());
}

TEST(ImageList, NestsResultsUnderTheirSourceNumberedInPreOrder)
{
    MainWindow app;
    DataEntry* a = addTopLevel(app, grayImage(1, 1, 0), "a.pgm");
    a->addChild(grayImage(1, 1, 0), "Red")->addChild(grayImage(1, 1, 0), "deeper");
    addTopLevel(app, grayImage(1, 1, 0), "b.pgm");
    app.slotUpdateDataList();

    QTreeWidget* list = app.dataList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* itemA = list->topLevelItem(0);
    EXPECT_EQ(itemA->text(0), "a.pgm");
    ASSERT_EQ(itemA->childCount(), 1);
    EXPECT_EQ(itemA->child(0)->text(0), "Red");
    EXPECT_EQ(itemA->child(0)->text(1), "1");
    ASSERT_EQ(itemA->child(0)->childCount(), 1);
    EXPECT_EQ(itemA->child(0)->child(0)->text(1), "2");
    EXPECT_TRUE(itemA->isExpanded());
    EXPECT_EQ(list->topLevelItem(1)->text(1), "3");
}

TEST(ImageList, ItemsOrderedByTheirNumberAsTextStillReachTheirEntries)
{
    MainWindow app;
    for (int i = 0; i < 12; ++i)
        addTopLevel(app, grayImage(1, 1, i), QStringLiteral("p%1").arg(i));
    app.slotUpdateDataList();
    QTreeWidget* list = app.dataList();
    ASSERT_EQ(list->topLevelItemCount(), 12);
    EXPECT_EQ(list->topLevelItem(2)->text(1), "10");

    // Selecting the third row opens the eleventh entry's window.
    list->topLevelItem(2)->setSelected(true);
    DataEntry* tenth = app.entryAt(10);
    ASSERT_NE(tenth->window(), nullptr);
    EXPECT_EQ(tenth->window()->windowTitle(), "p10");
    EXPECT_EQ(app.entryAt(2)->window(), nullptr);
}
