#pragma once

#include "util/Parameters.h"

#include <pybind11/pybind11.h>

#include <map>
#include <string>

namespace ivra::python {

// Checks a call's keyword arguments against an operator's parameter struct (a
// visitor, see util/Parameters.h) and turns them into the command line's key=value
// pairs, so that the CLI's own parser then gives the values, the defaults and the
// range messages. A keyword is the CLI key with '-' written '_'. An integer field
// takes a Python integer (bool excluded); a word field a str or, for numeric
// words, an integer. Anything else, and a keyword no field consumes, raises
// TypeError. Construct and visit with the interpreter lock held.
class KeywordArgs {
public:
    KeywordArgs(std::string step, const pybind11::dict& kwargs, int inputType);

    void integer(const char* key, int& value, int min, int max);

    template <class E>
    void choice(const char* key, E& value, Choices<E> words)
    {
        const Argument* argument = take(key);
        if (!argument)
            return;
        for (const Choice<E>& w : words)
            if (argument->text == w.word)
                value = w.value; // later keys may depend on this choice
        if (argument->kind == Kind::Other)
            throw pybind11::type_error(prefix(key) + " must be one of " + choiceWords(words) + ", not a " +
                                       argument->typeName);
    }

    int inputType() const { return inputType_; }

    // The pairs for the CLI's parser; raises TypeError with the CLI's message for the
    // first keyword no field consumed.
    std::map<std::string, std::string> finish() const;

private:
    enum class Kind { Integer, Word, Other };
    struct Argument {
        std::string text;
        Kind kind = Kind::Other;
        std::string typeName;
        bool used = false;
    };

    // The argument for a CLI key, marked used; none when the call does not give it.
    const Argument* take(const char* key);
    std::string prefix(const char* key) const { return "step '" + step_ + "': " + key; }

    std::string step_;
    int inputType_;
    std::map<std::string, Argument> arguments_; // by keyword
    std::map<std::string, std::string> pairs_;  // by CLI key
};

// The CLI key of a keyword and back: "min-peak" <-> "min_peak".
std::string keywordOf(const std::string& key);

} // namespace ivra::python
