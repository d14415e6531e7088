// The main window's image list: building it from the tree, Show Image and Hide
// Image, and its popup menu.

#include "MainWindow.h"

#include "DataEntry.h"
#include "DataEntryIterator.h"
#include "WindowFactory.h"
#include "WindowPlacement.h"
#include "view/EntryWindow.h"
#include "view/SegmentationExport.h"

#include "image/ImageSegmented.h"
#include "segment/RegionBorders.h"

#include <QApplication>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>

#include <vector>

namespace ivra {

namespace {

// An item of the image list. Column 1 holds the entry's number, which orders the
// items; compared as text, "10" would come before "9".
class NumberedItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column != 1)
            return QTreeWidgetItem::operator<(other);
        return text(1).toInt() < other.text(1).toInt();
    }
};

} // namespace

void MainWindow::initImageList()
{
    leftBar_ = new QDockWidget(QString(), this);
    leftBar_->setObjectName(QStringLiteral("image list"));
    // No title is shown; screen readers still name the bar.
    leftBar_->setAccessibleName(tr("Image List"));
    leftBar_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    leftBar_->setTitleBarWidget(new QWidget(leftBar_));
    // The pane starts 240 pixels wide; its edge can be dragged for long names.
    leftBar_->setMinimumWidth(120);

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
    resizeDocks({leftBar_}, {240}, Qt::Horizontal);

    popup_ = new QMenu(this);
    popup_->addAction(tr("Show Image"), this, qOverload<>(&MainWindow::slotImageShow));
    popup_->addAction(tr("Hide Image"), this, &MainWindow::slotImageHide);
    popup_->addAction(editDelete_);
    dataList_->addAction(editDelete_);

    connect(dataList_, &QTreeWidget::customContextMenuRequested, this, &MainWindow::slotShowLeftBarPopup);
    connect(dataList_, &QTreeWidget::itemSelectionChanged, this, &MainWindow::showSelectionOfList);
    // Enter or a double click brings up the window of an item that is already selected.
    connect(dataList_, &QTreeWidget::itemActivated, this, qOverload<QTreeWidgetItem*>(&MainWindow::slotImageShow));
}

void MainWindow::slotUpdateDataList()
{
    const QSignalBlocker block(dataList_);
    dataList_->clear();
    // The last item made at each depth: the parent of the next item one level deeper.
    std::vector<QTreeWidgetItem*> stack;
    int counter = 0;
    DataEntryIterator it(root_.get());
    for (DataEntry* e = it.first(); e; e = it.next()) {
        if (e->isHidden())
            continue;
        const auto depth = static_cast<std::size_t>(it.depth());
        QTreeWidgetItem* item = depth == 0 || stack.size() < depth ? new NumberedItem(dataList_)
                                                                   : new NumberedItem(stack[depth - 1]);
        item->setText(0, e->name());
        item->setText(1, QString::number(counter++));
        if (stack.size() > depth)
            stack[depth] = item;
        else
            stack.push_back(item);
        item->setExpanded(true);
    }
    dataList_->expandAll();
}

DataEntry* MainWindow::selectedEntry() const
{
    const QList<QTreeWidgetItem*> selected = dataList_->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    bool ok = false;
    const int number = selected.constFirst()->text(1).toInt(&ok);
    return ok ? entryAt(number) : nullptr;
}

QTreeWidgetItem* MainWindow::itemOf(const DataEntry* entry) const
{
    const int number = entryNumber(root_.get(), entry);
    if (number < 0)
        return nullptr;
    const QString key = QString::number(number);
    const QList<QTreeWidgetItem*> found = dataList_->findItems(key, Qt::MatchExactly | Qt::MatchRecursive, 1);
    return found.isEmpty() ? nullptr : found.constFirst();
}

QWidget* MainWindow::showEntry(DataEntry* entry)
{
    if (!entry)
        return nullptr;
    QWidget* window = entry->window();
    const bool made = !window;
    if (made) {
        window = createWindowFor(*entry, workspace_);
        if (!window)
            return nullptr;
        entry->setWindow(window);
    }
    window->showNormal();
    if (made)
        placeInsideWorkspace(*workspace_, *window);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window))
        workspace_->setActiveSubWindow(sub);
    window->setFocus();
    return window;
}

void MainWindow::slotImageShow()
{
    showEntry(selectedEntry());
}

void MainWindow::showSelectionOfList()
{
    // Walking the list with the arrow keys brings up each window in turn, but the
    // keys stay in the list; a click hands the focus to the window.
    const bool browsingByKeys = dataList_->hasFocus() && QApplication::mouseButtons() == Qt::NoButton;
    slotImageShow(dataList_->currentItem());
    if (browsingByKeys)
        dataList_->setFocus();
}

void MainWindow::slotImageShow(QTreeWidgetItem*)
{
    slotImageShow();
}

void MainWindow::slotImageHide()
{
    if (DataEntry* e = selectedEntry())
        if (QWidget* w = e->window())
            w->hide();
}

void MainWindow::slotShowLeftBarPopup(const QPoint& point)
{
    const QPoint where = dataList_->viewport()->mapToGlobal(point);
    const DataEntry* entry = selectedEntry();
    if (!entry || !entry->data() || !segmentationOf(*entry->data())) {
        popup_->popup(where);
        return;
    }
    // A segmentation entry adds its exports; the entry is looked up again when one
    // is chosen, in case it went away meanwhile.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(popup_->actions());
    menu->addSeparator();
    const int number = entryNumber(root_.get(), entry);
    addExportActions(*menu, this, [this, number]() -> const ImageSegmented* {
        const DataEntry* e = entryAt(number);
        return e && e->data() ? segmentationOf(*e->data()) : nullptr;
    }, [] { return defaultBorderColor; });
    menu->popup(where);
}

} // namespace ivra
