// The image tree: pre-order numbering, entryAt(), and the list rebuilt from it.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/DataEntryIterator.h"
#include "app/IvraApp.h"

#include <QPointer>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

namespace {

std::unique_ptr<DataEntry> makeRoot()
{
    return std::make_unique<DataEntry>(nullptr, QStringLiteral("Root"), nullptr, true);
}

} // namespace

TEST(DataEntryIterator, WalksPreOrderWithDepths)
{
    auto root = makeRoot();
    DataEntry* a = root->addChild(grayImage(1, 1, 0), "a");
    DataEntry* a1 = a->addChild(grayImage(1, 1, 0), "a1");
    a1->addChild(grayImage(1, 1, 0), "a1x");
    a->addChild(grayImage(1, 1, 0), "a2");
    root->addChild(grayImage(1, 1, 0), "b");

    DataEntryIterator it(root.get());
    EXPECT_EQ(it.first(), root.get());
    QStringList names;
    QList<int> depths;
    for (DataEntry* e = it.next(); e; e = it.next()) {
        names << e->name();
        depths << it.depth();
    }
    EXPECT_EQ(names, QStringList({"a", "a1", "a1x", "a2", "b"}));
    EXPECT_EQ(depths, QList<int>({0, 1, 2, 1, 0}));
    EXPECT_EQ(it.current(), nullptr);
    EXPECT_EQ(it.depth(), 0);
}

TEST(DataEntryIterator, EntryAtCountsFromZeroBelowTheRoot)
{
    auto root = makeRoot();
    EXPECT_EQ(entryAt(root.get(), 0), nullptr);

    // First file 0, its result 1, a second file 2.
    DataEntry* first = root->addChild(grayImage(1, 1, 0), "first");
    DataEntry* result = first->addChild(grayImage(1, 1, 0), "result");
    DataEntry* second = root->addChild(grayImage(1, 1, 0), "second");
    EXPECT_EQ(entryAt(root.get(), 0), first);
    EXPECT_EQ(entryAt(root.get(), 1), result);
    EXPECT_EQ(entryAt(root.get(), 2), second);
    EXPECT_EQ(entryAt(root.get(), 3), nullptr);
    EXPECT_EQ(entryAt(root.get(), -1), nullptr);
    EXPECT_EQ(entryNumber(root.get(), second), 2);
    EXPECT_EQ(entryNumber(root.get(), root.get()), -1);

    // A later result of the first file moves the second file on.
    DataEntry* result2 = first->addChild(grayImage(1, 1, 0), "result2");
    EXPECT_EQ(entryAt(root.get(), 2), result2);
    EXPECT_EQ(entryAt(root.get(), 3), second);
}

TEST(DataEntry, OwnsDataAndWindowButNotTheOtherWayRound)
{
    auto root = makeRoot();
    DataEntry* e = root->addChild(rgbImage(2, 2, 1, 2, 3), "e");
    EXPECT_EQ(e->type(), TypeImageRGB);
    EXPECT_EQ(root->type(), 0);
    EXPECT_TRUE(root->isHidden());
    EXPECT_FALSE(e->isHidden());

    // A destroyed window clears the entry's reference.
    auto* w = new QWidget;
    e->setWindow(w);
    delete w;
    EXPECT_EQ(e->window(), nullptr);

    // Deleting the entries destroys their windows, children's included.
    QPointer<QWidget> parentWindow = new QWidget;
    QPointer<QWidget> childWindow = new QWidget;
    e->setWindow(parentWindow);
    e->addChild(grayImage(1, 1, 0), "child")->setWindow(childWindow);
    root->clearChildren();
    EXPECT_TRUE(root->children().empty());
    EXPECT_TRUE(parentWindow.isNull());
    EXPECT_TRUE(childWindow.isNull());
}

TEST(ImageList, RebuildNumbersItemsInPreOrderAndNestsResults)
{
    IvraApp app;
    DataEntry* a = addTopLevel(app, grayImage(1, 1, 0), "a.pgm");
    a->addChild(grayImage(1, 1, 0), "Red")->addChild(grayImage(1, 1, 0), "deeper");
    addTopLevel(app, grayImage(1, 1, 0), "b.pgm");
    app.slotUpdateDataList();

    QTreeWidget* list = app.dataList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    QTreeWidgetItem* itemA = list->topLevelItem(0);
    EXPECT_EQ(itemA->text(0), "a.pgm");
    EXPECT_EQ(itemA->text(1), "0");
    ASSERT_EQ(itemA->childCount(), 1);
    EXPECT_EQ(itemA->child(0)->text(0), "Red");
    EXPECT_EQ(itemA->child(0)->text(1), "1");
    ASSERT_EQ(itemA->child(0)->childCount(), 1);
    EXPECT_EQ(itemA->child(0)->child(0)->text(1), "2");
    EXPECT_TRUE(itemA->isExpanded());
    EXPECT_EQ(list->topLevelItem(1)->text(1), "3");
    EXPECT_TRUE(list->isColumnHidden(1));
}

TEST(ImageList, OrdersNumbersAsTextYetEachItemReachesItsEntry)
{
    IvraApp app;
    for (int i = 0; i < 12; ++i)
        addTopLevel(app, grayImage(1, 1, i), QStringLiteral("p%1").arg(i));
    app.slotUpdateDataList();

    QTreeWidget* list = app.dataList();
    ASSERT_EQ(list->topLevelItemCount(), 12);
    QStringList order;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        order << list->topLevelItem(i)->text(1);
    EXPECT_EQ(order, QStringList({"0", "1", "10", "11", "2", "3", "4", "5", "6", "7", "8", "9"}));

    // Selecting the third row ("10") opens the eleventh entry's window.
    list->topLevelItem(2)->setSelected(true);
    DataEntry* tenth = app.entryAt(10);
    ASSERT_NE(tenth, nullptr);
    EXPECT_EQ(tenth->name(), "p10");
    ASSERT_NE(tenth->window(), nullptr);
    EXPECT_EQ(tenth->window()->windowTitle(), "p10");
    EXPECT_EQ(app.entryAt(2)->window(), nullptr);
}
