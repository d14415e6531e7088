#pragma once

namespace ivra {

// Type codes of the objects the image tree holds. 0, 1 and 5 are unused.
enum DataType : int {
    TypeImageGray = 2,
    TypeImageRGB = 3, // also ImageSegmented
    TypeImageHSV = 4,
    TypeHistogramGray = 6,
    TypeHistogramHSV = 7,
    TypeHistogramRGB = 8,
};

// Everything the image tree holds: a picture or a histogram.
class DataObject {
public:
    DataObject() = default;
    DataObject(const DataObject&) = delete;
    DataObject& operator=(const DataObject&) = delete;
    virtual ~DataObject() = default;

    virtual int type() const = 0;
};

} // namespace ivra
