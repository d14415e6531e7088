#pragma once

#include "Step.h"

// One function per step; each lives in the file of its operator family.
namespace ivra::cli {

// ColourSteps.cpp
StepResult stepHsv(const DataObject& input, StepArgs& args);
StepResult stepRgb(const DataObject& input, StepArgs& args);
StepResult stepSplit(const DataObject& input, StepArgs& args);

// CSCStep.cpp
StepResult stepCsc(const DataObject& input, StepArgs& args);

} // namespace ivra::cli
