#pragma once

#include "RecipeError.h"

#include "util/Parameters.h"

#include <map>
#include <optional>
#include <set>
#include <string>

namespace ivra::recipe {

// Fills an operator's parameter struct from the key=value pairs of one step
// (a visitor, see util/Parameters.h). Each field consumes its key; a key left over
// when the struct has listed all its fields is reported by finish() as unknown.
// Absent keys keep the struct's value, i.e. the default.
class StepArgs {
public:
    StepArgs(std::string step, std::map<std::string, std::string> values, int inputType,
             std::set<std::string> textKeys = {});

    void integer(const char* key, int& value, int min, int max);

    template <class E>
    void choice(const char* key, E& value, Choices<E> words)
    {
        const auto text = take(key);
        if (!text)
            return;
        for (const Choice<E>& w : words)
            if (*text == w.word) {
                value = w.value;
                return;
            }
        throw RecipeError("step '" + step_ + "': " + key + " must be one of " + choiceWords(words) + ", not '" +
                          *text + "'");
    }

    int inputType() const { return inputType_; }
    const std::string& step() const { return step_; }

    // Throws RecipeError naming the first key that no field consumed.
    void finish() const;

private:
    // The key's text, removed from the pairs; none when the key is absent.
    std::optional<std::string> take(const char* key);

    std::string step_;
    std::map<std::string, std::string> values_;
    std::set<std::string> textKeys_;
    int inputType_;
};

} // namespace ivra::recipe
