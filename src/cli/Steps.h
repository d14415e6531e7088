#pragma once

#include "Step.h"

// One function per step; each lives in the file of its operator family.
namespace ivra::cli {

// ColourSteps.cpp
StepResult stepSplit(const DataObject& input, StepArgs& args);
StepResult stepHsv(const DataObject& input, StepArgs& args);
StepResult stepRgb(const DataObject& input, StepArgs& args);

// HistogramStep.cpp
StepResult stepHistogram(const DataObject& input, StepArgs& args);

// ColorHistogramStep.cpp
StepResult stepColorHistogram(const DataObject& input, StepArgs& args);

// NoiseSteps.cpp
StepResult stepGauss(const DataObject& input, StepArgs& args);
StepResult stepSaltPepper(const DataObject& input, StepArgs& args);

// FilterSteps.cpp
StepResult stepKuwahara(const DataObject& input, StepArgs& args);
StepResult stepSnn(const DataObject& input, StepArgs& args);

// CSCStep.cpp
StepResult stepCsc(const DataObject& input, StepArgs& args);

// RhsStep.cpp
StepResult stepRhs(const DataObject& input, StepArgs& args);

// SplitAndMergeStep.cpp
StepResult stepSplitAndMerge(const DataObject& input, StepArgs& args);

// RegionGrowingStep.cpp
StepResult stepRegionGrowing(const DataObject& input, StepArgs& args);

} // namespace ivra::cli
