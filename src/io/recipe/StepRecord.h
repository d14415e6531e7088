#pragma once

#include "util/Parameters.h"

#include <nlohmann/json.hpp>

namespace ivra::recipe {

// Writes a parameter struct's fields into a recipe step (a visitor, see
// util/Parameters.h): integers as numbers, choices as their words, every field.
class StepRecord {
public:
    StepRecord(int inputType, nlohmann::ordered_json& step) : inputType_(inputType), step_(step) {}

    void integer(const char* key, int& value, int, int) { step_[key] = value; }

    template <class E>
    void choice(const char* key, E& value, Choices<E> words)
    {
        for (const Choice<E>& w : words)
            if (w.value == value)
                step_[key] = w.word;
    }

    int inputType() const { return inputType_; }

private:
    int inputType_;
    nlohmann::ordered_json& step_;
};

} // namespace ivra::recipe
