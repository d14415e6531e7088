#pragma once

#include "util/Parameters.h"

#include <string>
#include <vector>

namespace ivra::recipe {

// Collects a parameter struct's keys with their ranges and current values (a
// visitor, see util/Parameters.h), for ivra-cli --help. Keys that only a later
// choice brings in (the colour histogram's bins, cube, layout) are found by
// visiting once more with the first choice forced to each of its words.
class StepHelp {
public:
    struct Entry {
        std::string key;
        std::string range;
        std::string value;
    };

    StepHelp(int inputType, int forcedFirstChoice) : inputType_(inputType), forced_(forcedFirstChoice) {}

    void integer(const char* key, int& value, int min, int max)
    {
        entries_.push_back({key, std::to_string(min) + ".." + std::to_string(max), std::to_string(value)});
    }

    template <class E>
    void choice(const char* key, E& value, Choices<E> words)
    {
        Entry entry{key, choiceWords(words), ""};
        for (const Choice<E>& w : words)
            if (w.value == value)
                entry.value = w.word;
        entries_.push_back(std::move(entry));
        if (choices_++ == 0) {
            firstChoiceWords_ = static_cast<int>(words.size());
            if (forced_ >= 0 && forced_ < firstChoiceWords_)
                value = words.begin()[forced_].value;
        }
    }

    int inputType() const { return inputType_; }
    const std::vector<Entry>& entries() const { return entries_; }
    int firstChoiceWords() const { return firstChoiceWords_; }

private:
    int inputType_;
    int forced_;
    int choices_ = 0;
    int firstChoiceWords_ = 0;
    std::vector<Entry> entries_;
};

// "key=range (default value), ..." for the entries, keys in order of first appearance.
std::string describeEntries(const std::vector<StepHelp::Entry>& entries);

} // namespace ivra::recipe
