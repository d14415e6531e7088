#include "RegionTableModel.h"

#include <algorithm>

namespace ivra {

RegionTableModel::RegionTableModel(std::vector<RegionMeasurement> regions, QObject* parent)
    : QAbstractTableModel(parent), regions_(std::move(regions))
{
}

int RegionTableModel::rowOf(std::uint32_t label) const
{
    const auto it = std::lower_bound(regions_.begin(), regions_.end(), label,
                                     [](const RegionMeasurement& m, std::uint32_t l) { return m.label < l; });
    return it != regions_.end() && it->label == label ? static_cast<int>(it - regions_.begin()) : -1;
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
    const RegionMeasurement& m = regions_[static_cast<std::size_t>(index.row())];
    auto real = [role](double v) { return role == sortRole ? QVariant(v) : QVariant(QString::number(v, 'f', 2)); };
    switch (index.column()) {
    case Label: return QVariant::fromValue(m.label);
    case Pixels: return QVariant::fromValue(static_cast<qulonglong>(m.pixels));
    case XMin: return m.xMin;
    case YMin: return m.yMin;
    case XMax: return m.xMax;
    case YMax: return m.yMax;
    case CentroidX: return real(m.centroidX);
    case CentroidY: return real(m.centroidY);
    case MeanRed: return real(m.meanRed);
    case MeanGreen: return real(m.meanGreen);
    case MeanBlue: return real(m.meanBlue);
    case RegionRed: return m.regionRed;
    case RegionGreen: return m.regionGreen;
    case RegionBlue: return m.regionBlue;
    case Perimeter: return QVariant::fromValue(static_cast<qulonglong>(m.perimeter));
    default: return {};
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
