#pragma once

#include "segment/RegionMeasurements.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QTableView;

namespace ivra {

class RegionTableModel;

// The region count, the sortable region table and the export button of the
// segmentation viewer. The table is model/view, so a hundred thousand rows sort
// and scroll without one widget per row.
class RegionTablePanel : public QWidget {
    Q_OBJECT

public:
    RegionTablePanel(std::vector<RegionMeasurement> regions, QWidget* parent = nullptr);

    QLabel* countLabel() const { return count_; }
    QTableView* tableView() const { return table_; }
    RegionTableModel* model() const { return model_; }
    QPushButton* exportButton() const { return export_; }

    // The labels of the selected rows, ascending.
    std::vector<std::uint32_t> selectedLabels() const;
    // Selects the row of the label alone and scrolls to it; a label without a row
    // (label 0) clears the selection.
    void selectLabel(std::uint32_t label);

signals:
    void selectionChanged();

private:
    RegionTableModel* model_;
    QLabel* count_;
    QTableView* table_;
    QPushButton* export_;
};

} // namespace ivra
