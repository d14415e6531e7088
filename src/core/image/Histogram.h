#pragma once

#include "DataObject.h"

#include <stdexcept>

namespace ivra {

// A histogram of binCount bins.
class Histogram : public DataObject {
public:
    int binCount() const { return binCount_; }

protected:
    explicit Histogram(int binCount) : binCount_(binCount)
    {
        if (binCount < 0)
            throw std::length_error("negative bin count");
    }

private:
    int binCount_;
};

} // namespace ivra
