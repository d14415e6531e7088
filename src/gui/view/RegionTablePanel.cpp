#include "RegionTablePanel.h"

#include "RegionTableModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace ivra {

RegionTablePanel::RegionTablePanel(std::vector<RegionMeasurement> regions, QWidget* parent)
    : QWidget(parent), model_(new RegionTableModel(std::move(regions), this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    auto* top = new QHBoxLayout;
    count_ = new QLabel(tr("Regions: %1").arg(model_->rowCount()), this);
    count_->setObjectName(QStringLiteral("regionCount"));
    export_ = new QPushButton(tr("&Export"), this);
    export_->setObjectName(QStringLiteral("exportButton"));
    top->addWidget(count_);
    top->addStretch();
    top->addWidget(export_);
    layout->addLayout(top);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("regionTable"));
    table_->setAccessibleName(tr("Region table"));
    table_->setModel(model_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(RegionTableModel::Label, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Fixed row heights: no row is measured, however many there are.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    layout->addWidget(table_);

    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RegionTablePanel::selectionChanged);
}

std::vector<std::uint32_t> RegionTablePanel::selectedLabels() const
{
    std::vector<std::uint32_t> labels;
    for (const QModelIndex& row : table_->selectionModel()->selectedRows())
        labels.push_back(model_->regionAt(row.row()).label);
    std::sort(labels.begin(), labels.end());
    return labels;
}

void RegionTablePanel::selectLabel(std::uint32_t label)
{
    const int row = model_->rowOf(label);
    if (row < 0) {
        table_->clearSelection();
        return;
    }
    const QModelIndex index = model_->index(row, 0);
    table_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(index);
}

} // namespace ivra
