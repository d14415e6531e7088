#pragma once

#include "segment/RegionMeasurements.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace ivra {

// The measurements of a segmentation's regions as a table, one row per region in
// increasing label order. Qt::DisplayRole gives the text shown (means and
// centroids with two decimals); sortRole() gives the exact number, so a sorting
// proxy orders by value.
class RegionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Label, Pixels, XMin, YMin, XMax, YMax, CentroidX, CentroidY, MeanRed, MeanGreen, MeanBlue,
        RegionRed, RegionGreen, RegionBlue, Perimeter, ColumnCount
    };
    static constexpr int sortRole = Qt::UserRole;

    explicit RegionTableModel(std::vector<RegionMeasurement> regions, QObject* parent = nullptr);

    const std::vector<RegionMeasurement>& regions() const { return regions_; }
    // The row of a label, or -1 when it has none (label 0, or absent).
    int rowOf(std::uint32_t label) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<RegionMeasurement> regions_;
};

} // namespace ivra
