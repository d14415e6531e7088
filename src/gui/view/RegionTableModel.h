#pragma once

#include "segment/RegionMeasurements.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace ivra {

// The measurements of a segmentation's regions as a table, one row per region,
// in increasing label order until sorted. Qt::DisplayRole gives the text shown
// (means and centroids with two decimals), sortRole the exact number. The model
// sorts itself: a permutation sorted by plain numbers keeps a hundred thousand
// rows quick, where a generic sorting proxy compares variants through indexes.
class RegionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Label, Pixels, XMin, YMin, XMax, YMax, CentroidX, CentroidY, MeanRed, MeanGreen, MeanBlue,
        RegionRed, RegionGreen, RegionBlue, Perimeter, ColumnCount
    };
    static constexpr int sortRole = Qt::UserRole;

    explicit RegionTableModel(std::vector<RegionMeasurement> regions, QObject* parent = nullptr);

    // The region shown in a row.
    const RegionMeasurement& regionAt(int row) const { return regions_[order_[static_cast<std::size_t>(row)]]; }
    // The row showing a label, or -1 when it has none (label 0, or absent).
    int rowOf(std::uint32_t label) const;
    // The exact value of a cell (every column fits a double exactly).
    double number(int row, int column) const;

    // Stable: equal values keep the order they had.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<RegionMeasurement> regions_; // by label
    std::vector<std::size_t> order_;         // row -> region
    std::vector<int> rows_;                  // region -> row
};

} // namespace ivra
