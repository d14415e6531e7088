// Recipes: the steps of a recipe file or dict, run on one picture.
#include "ModuleParts.h"
#include "OperatorCall.h"

#include "recipe/Recipe.h"
#include "recipe/RecipeRunner.h"

#include "util/Threads.h"

namespace py = pybind11;

namespace ivra::python {

namespace {

std::string recipeText(const py::object& recipe)
{
    if (py::isinstance<py::dict>(recipe))
        return py::module_::import("json").attr("dumps")(recipe).cast<std::string>();
    if (py::isinstance<py::str>(recipe) || py::hasattr(recipe, "__fspath__"))
        return py::module_::import("pathlib").attr("Path")(recipe).attr("read_text")().cast<std::string>();
    throw py::type_error("recipe must be a dict or a file path, not " +
                         std::string(py::str(recipe.get_type().attr("__name__"))));
}

py::object runRecipe(const py::object& source, const py::object& image, const py::object& threads)
{
    const std::vector<recipe::StepCall> calls = recipe::readRecipe(recipeText(source));
    if (calls.empty())
        throw py::value_error("the recipe has no steps");
    py::dict options;
    options["threads"] = threads;
    const int threadCount = takeCallOptions(options, false).threads;
    const PictureInput input(image, recipe::findStep(calls.front().name)->accepts);
    ConvertedResult converted;
    {
        py::gil_scoped_release release;
        const ThreadLimit limit(threadCount);
        recipe::StepResult result;
        result.data = input.read();
        int lastInputType = input.type();
        recipe::ChainState chain;
        for (const recipe::StepCall& call : calls) {
            lastInputType = result.data->type();
            result = recipe::runStep(*result.data, call, chain);
        }
        converted = convertResult(std::move(result), lastInputType);
    }
    return resultObject(std::move(converted));
}

} // namespace

void addRecipeFunctions(py::module_& m)
{
    m.def("run_recipe", &runRecipe, py::arg("recipe"), py::arg("image"), py::kw_only(),
          py::arg("threads") = py::none(),
          "Runs a recipe on a picture, each step on the result of the one before, as ivra-cli --recipe does: "
          "a fresh chain whose noise steps start at random_state 1 unless the recipe gives one.\n\n"
          "recipe: a recipe dict ({\"format\": \"ivra-recipe\", \"version\": 1, \"steps\": [{\"step\": \"hsv\"}, ...]}) "
          "or the path of a recipe file.\n"
          "image: a picture the first step takes (see the step's function).\n"
          "threads: None (all cores) or the number of threads to use.\n\n"
          "Returns what the last step's function returns.\n"
          "Raises ValueError with ivra-cli's message for a recipe that cannot run, OSError for an unreadable file.");
}

} // namespace ivra::python
