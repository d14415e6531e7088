#include "KeywordArgs.h"

#include "recipe/StepArgs.h"

#include <algorithm>

namespace py = pybind11;

namespace ivra::python {

std::string keywordOf(const std::string& key)
{
    std::string keyword = key;
    std::replace(keyword.begin(), keyword.end(), '-', '_');
    return keyword;
}

KeywordArgs::KeywordArgs(std::string step, const py::dict& kwargs, int inputType)
    : step_(std::move(step)), inputType_(inputType)
{
    for (const auto& [name, value] : kwargs) {
        Argument a;
        a.typeName = py::str(value.get_type().attr("__name__"));
        if (PyBool_Check(value.ptr())) {
            a.kind = Kind::Other;
        } else if (PyIndex_Check(value.ptr())) {
            a.kind = Kind::Integer;
            a.text = py::str(py::int_(py::reinterpret_borrow<py::object>(value)));
        } else if (py::isinstance<py::str>(value)) {
            a.kind = Kind::Word;
            a.text = value.cast<std::string>();
        }
        arguments_.emplace(name.cast<std::string>(), std::move(a));
    }
}

const KeywordArgs::Argument* KeywordArgs::take(const char* key)
{
    const auto it = arguments_.find(keywordOf(key));
    if (it == arguments_.end())
        return nullptr;
    it->second.used = true;
    pairs_[key] = it->second.text;
    return &it->second;
}

void KeywordArgs::integer(const char* key, int&, int min, int max)
{
    const Argument* argument = take(key);
    if (argument && argument->kind != Kind::Integer)
        throw py::type_error(prefix(key) + " must be an integer in " + std::to_string(min) + ".." +
                             std::to_string(max) + ", not a " + argument->typeName);
}

std::map<std::string, std::string> KeywordArgs::finish() const
{
    for (const auto& [name, argument] : arguments_)
        if (!argument.used) {
            try {
                recipe::StepArgs(step_, {{name, argument.text}}, inputType_).finish();
            } catch (const recipe::RecipeError& e) {
                throw py::type_error(e.what());
            }
        }
    return pairs_;
}

} // namespace ivra::python
