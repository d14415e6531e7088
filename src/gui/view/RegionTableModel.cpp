#include "RegionTableModel.h"

#include <algorithm>
#include <numeric>

namespace ivra {

RegionTableModel::RegionTableModel(std::vector<RegionMeasurement> regions, QObject* parent)
    : QAbstractTableModel(parent), regions_(std::move(regions)), order_(regions_.size()), rows_(regions_.size())
{
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    std::iota(rows_.begin(), rows_.end(), 0);
}

void RegionTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::size_t> regionsBefore;
    for (const QModelIndex& index : before)
        regionsBefore.push_back(order_[static_cast<std::size_t>(index.row())]);

    std::vector<double> keys(regions_.size());
    for (std::size_t r = 0; r < regions_.size(); ++r)
        keys[r] = number(rows_[r], column);
    const bool ascending = order == Qt::AscendingOrder;
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) {
        return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    for (std::size_t row = 0; row < order_.size(); ++row)
        rows_[order_[row]] = static_cast<int>(row);

    QModelIndexList after;
    for (int k = 0; k < before.size(); ++k)
        after.push_back(index(rows_[regionsBefore[static_cast<std::size_t>(k)]], before[k].column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int RegionTableModel::rowOf(std::uint32_t label) const
{
    const auto it = std::lower_bound(regions_.begin(), regions_.end(), label,
                                     [](const RegionMeasurement& m, std::uint32_t l) { return m.label < l; });
    return it != regions_.end() && it->label == label ? rows_[static_cast<std::size_t>(it - regions_.begin())] : -1;
}

double RegionTableModel::number(int row, int column) const
{
    const RegionMeasurement& m = regionAt(row);
    switch (column) {
    case Label: return m.label;
    case Pixels: return static_cast<double>(m.pixels);
    case XMin: return m.xMin;
    case YMin: return m.yMin;
    case XMax: return m.xMax;
    case YMax: return m.yMax;
    case CentroidX: return m.centroidX;
    case CentroidY: return m.centroidY;
    case MeanRed: return m.meanRed;
    case MeanGreen: return m.meanGreen;
    case MeanBlue: return m.meanBlue;
    case RegionRed: return m.regionRed;
    case RegionGreen: return m.regionGreen;
    case RegionBlue: return m.regionBlue;
    case Perimeter: return static_cast<double>(m.perimeter);
    default: return 0;
    }
}

int RegionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(regions_.size());
}

int RegionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RegionTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != sortRole && role != Qt::TextAlignmentRole))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    const double value = number(index.row(), index.column());
    if (role == sortRole)
        return value;
    switch (index.column()) {
    case CentroidX:
    case CentroidY:
    case MeanRed:
    case MeanGreen:
    case MeanBlue:
        return QString::number(value, 'f', 2);
    default:
        return QString::number(value, 'f', 0);
    }
}

QVariant RegionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const names[ColumnCount] = {
        QT_TR_NOOP("Label"),      QT_TR_NOOP("Pixels"),     QT_TR_NOOP("X min"),        QT_TR_NOOP("Y min"),
        QT_TR_NOOP("X max"),      QT_TR_NOOP("Y max"),      QT_TR_NOOP("Centroid X"),   QT_TR_NOOP("Centroid Y"),
        QT_TR_NOOP("Mean red"),   QT_TR_NOOP("Mean green"), QT_TR_NOOP("Mean blue"),    QT_TR_NOOP("Region red"),
        QT_TR_NOOP("Region green"), QT_TR_NOOP("Region blue"), QT_TR_NOOP("Perimeter")};
    return section >= 0 && section < ColumnCount ? tr(names[section]) : QVariant();
}

} // namespace ivra
