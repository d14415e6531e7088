#pragma once

#include <initializer_list>
#include <string>

namespace ivra {

// Every operator has one parameter struct, declared beside the operator with its
// defaults (the dialog's initial values) as member initialisers and its ranges as
// constants. The struct lists its fields to a visitor, in the order the command
// line reads them:
//
//     template <class Visitor> void visit(Visitor& v)
//     {
//         v.integer("iterations", iterations, minIterations, maxIterations);
//         v.choice("space", space, {{"rgb", Space::RGB}, {"hsv", Space::HSV}});
//     }
//
// A visitor offers
//     void integer(const char* key, int& value, int min, int max);
//     template <class E> void choice(const char* key, E& value, std::initializer_list<Choice<E>> words);
//     int inputType() const;   // the type code of the picture the step runs on, 0 when none
// and so one declaration serves the command-line parser, its --help, recipes and
// the Python bindings. A field whose keys or words depend on the input picture
// (the split channel, the colour histogram's kind) asks inputType().

// One word of an enumerated parameter, as written on the command line and in recipes.
template <class E>
struct Choice {
    const char* word;
    E value;
};

template <class E>
using Choices = std::initializer_list<Choice<E>>;

// The words as help texts and messages list them: "rgb|hsv".
template <class E>
std::string choiceWords(Choices<E> words)
{
    std::string list;
    for (const Choice<E>& w : words) {
        if (!list.empty())
            list += '|';
        list += w.word;
    }
    return list;
}

} // namespace ivra
