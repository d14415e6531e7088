#pragma once

#include <QString>
#include <QStringList>

namespace ivra {

class DataObject;

// What a result holds, for the status bar: "1,656 regions" for a segmentation,
// "320 x 240" for a picture, "histogram" for a histogram.
QString resultSummary(const DataObject& result);

// The status bar's report of one operator run: each added result with its summary,
// then the time, e.g. "(1) CSC RGB [Threshold=25]: 1,656 regions, 28 ms".
QString operatorReport(const QStringList& resultsWithSummaries, qint64 milliseconds);

} // namespace ivra
