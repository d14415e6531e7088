#include "OperatorDialog.h"

#include "DataEntry.h"
#include "DataEntryIterator.h"
#include "HelpDialog.h"
#include "MainWindow.h"
#include "ResultReport.h"
#include "UndoStore.h"
#include "view/EntryWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include <algorithm>
#include <iostream>

namespace ivra {

OperatorDialog::OperatorDialog(QWidget* parent, const QString& caption, const QString& okText,
                               std::initializer_list<int> acceptedTypes)
    : QDialog(parent), acceptedTypes_(acceptedTypes)
{
    setWindowTitle(caption);
    setModal(true);
    buildList();
    buildButtons(okText);
    connect(listView_, &QTreeWidget::itemSelectionChanged, this, &OperatorDialog::updateView);
}

void OperatorDialog::buildList()
{
    auto* grid = new QGridLayout(this);

    listView_ = new QTreeWidget(this);
    listView_->setObjectName(QStringLiteral("listView"));
    listView_->setAccessibleName(tr("Images"));
    listView_->setColumnCount(2);
    listView_->setHeaderLabels({tr("Name"), tr("Nr")});
    listView_->setHeaderHidden(true);
    listView_->setColumnHidden(1, true);
    listView_->setRootIsDecorated(false);
    listView_->setSelectionMode(QAbstractItemView::SingleSelection);
    listView_->setMinimumHeight(120);
    grid->addWidget(listView_, 0, 0);

    parameterLayout_ = new QGridLayout;
    grid->addLayout(parameterLayout_, 1, 0);
}

void OperatorDialog::buildButtons(const QString& okText)
{
    auto* buttons = new QHBoxLayout;
    infoButton_ = new QPushButton(tr("Info"), this);
    infoButton_->setObjectName(QStringLiteral("infoButton"));
    okButton_ = new QPushButton(okText, this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    buttons->addWidget(infoButton_);
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    static_cast<QGridLayout*>(layout())->addLayout(buttons, 2, 0);

    connect(okButton_, &QPushButton::clicked, this, &OperatorDialog::runExecute);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(infoButton_, &QPushButton::clicked, this, &OperatorDialog::showInfo);
}

bool OperatorDialog::accepts(int typeCode) const
{
    return std::find(acceptedTypes_.begin(), acceptedTypes_.end(), typeCode) != acceptedTypes_.end();
}

void OperatorDialog::fillList()
{
    listView_->clear();
    entries_.clear();
    MainWindow* app = MainWindow::instance();
    if (app) {
        DataEntryIterator it(app->root());
        for (DataEntry* e = it.first(); e; e = it.next()) {
            if (!e->data() || !accepts(e->type()))
                continue;
            auto* item = new QTreeWidgetItem(listView_);
            item->setText(0, pathOf(e));
            item->setText(1, QString::number(entries_.size()));
            entries_.push_back(e);
        }
        // The picture the user is looking at is the likely source.
        if (EntryWindow* active = app->activeView())
            selectEntry(active->entry());
    }
    updateView();
}

bool OperatorDialog::selectEntry(const DataEntry* entry)
{
    const auto it = std::find(entries_.begin(), entries_.end(), entry);
    if (it == entries_.end())
        return false;
    const QString number = QString::number(it - entries_.begin());
    for (int i = 0; i < listView_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = listView_->topLevelItem(i);
        if (item->text(1) == number) {
            listView_->setCurrentItem(item);
            item->setSelected(true);
            return true;
        }
    }
    return false;
}

DataEntry* OperatorDialog::selectedEntry() const
{
    const QList<QTreeWidgetItem*> selected = listView_->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    bool ok = false;
    const int n = selected.constFirst()->text(1).toInt(&ok);
    if (!ok || n < 0 || static_cast<std::size_t>(n) >= entries_.size())
        return nullptr;
    return entries_[static_cast<std::size_t>(n)];
}

QString OperatorDialog::pathOf(const DataEntry* entry)
{
    MainWindow* app = MainWindow::instance();
    QStringList names{entry->name()};
    for (DataEntry* up = app ? parentOf(*app->root(), entry) : nullptr; up && up != app->root();
         up = parentOf(*app->root(), up))
        names.prepend(up->name());
    return names.join(QStringLiteral(" / "));
}

void OperatorDialog::showNoSelectionError(QWidget* parent)
{
    QMessageBox::critical(parent, tr("Error !"), tr("Please select an Image for the Operator !"));
}

void OperatorDialog::showDialog()
{
    fillList();
    exec();
    if (MainWindow* app = MainWindow::instance()) {
        app->slotUpdateDataList();
        // Keyboard input returns to the main window and its list.
        app->activateWindow();
        app->dataList()->setFocus();
    }
}

void OperatorDialog::showEvent(QShowEvent* event)
{
    putButtonsLastInTabOrder();
    QDialog::showEvent(event);
}

void OperatorDialog::putButtonsLastInTabOrder()
{
    // The last widget that takes Tab and is not a button; a label or group box at the
    // end of the chain does not take part in tab order, so it cannot anchor the buttons.
    QWidget* last = nullptr;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w != infoButton_ && w != okButton_ && w != cancelButton_)
            last = w;
    if (!last)
        return;
    setTabOrder(last, infoButton_);
    setTabOrder(infoButton_, okButton_);
    setTabOrder(okButton_, cancelButton_);
}

void OperatorDialog::showInfo()
{
    HelpDialog::showHelp(helpText(), this);
}

void OperatorDialog::updateView()
{
}

DataEntry* OperatorDialog::sourceOrComplain()
{
    DataEntry* source = selectedEntry();
    if (!source)
        showNoSelectionError(this);
    return source;
}

void OperatorDialog::runExecute()
{
    added_.clear();
    runTimer_.start();
    try {
        execute();
    } catch (const std::exception& e) {
        reportRefusal(e);
    }
}

void OperatorDialog::reportRefusal(const std::exception& e)
{
    std::cerr << e.what() << std::endl;
    QMessageBox::critical(this, tr("Error !"), QString::fromStdString(e.what()));
}

DataEntry* OperatorDialog::addResult(DataEntry& source, std::unique_ptr<DataObject> result, const QString& name)
{
    added_ << name + QStringLiteral(": ") + resultSummary(*result);
    return source.addChild(std::move(result), name);
}

RunCounters& OperatorDialog::runCounters() const
{
    // Every operator dialog is made by the catalogue as a child of the main window.
    return MainWindow::instance()->runCounters();
}

void OperatorDialog::finish()
{
    MainWindow* app = MainWindow::instance();
    if (app && !added_.isEmpty())
        app->statusBar()->showMessage(operatorReport(added_, runTimer_.isValid() ? runTimer_.elapsed() : 0));
    accept();
}

} // namespace ivra
