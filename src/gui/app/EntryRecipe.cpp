#include "EntryRecipe.h"

#include "recipe/Recipe.h"
#include "recipe/StepCatalogue.h"

#include <QRegularExpression>

namespace ivra {

namespace {

// The argument as a POSIX shell reads it back: bare when it holds only safe
// characters, else in single quotes.
QString shellQuoted(const QString& argument)
{
    static const QRegularExpression safe(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (safe.match(argument).hasMatch())
        return argument;
    QString quoted = argument;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// "name" or "name:key=value,key=value" for one recorded step.
QString stepArgument(const nlohmann::ordered_json& step)
{
    QString argument = QString::fromStdString(step["step"].get<std::string>());
    QString pairs;
    for (const auto& [key, value] : step.items()) {
        if (key == "step")
            continue;
        const std::string text = value.is_string() ? value.get<std::string>() : value.dump();
        pairs += (pairs.isEmpty() ? "" : ",") + QString::fromStdString(key) + "=" + QString::fromStdString(text);
    }
    return pairs.isEmpty() ? argument : argument + ":" + pairs;
}

} // namespace

EntryRecipe EntryRecipe::then(nlohmann::ordered_json step) const
{
    EntryRecipe next = *this;
    next.steps.push_back(std::move(step));
    return next;
}

EntryRecipe EntryRecipe::keeping(int n) const
{
    EntryRecipe kept = *this;
    if (!kept.steps.empty())
        kept.steps.back()["result"] = n;
    return kept;
}

void addRandomState(nlohmann::ordered_json& record, std::uint32_t randomState)
{
    const recipe::StepDefinition* step = recipe::findStep(record["step"].get<std::string>());
    if (step && step->random)
        record["random_state"] = randomState;
}

QString commandLine(const EntryRecipe& recipe, const QString& output)
{
    QStringList arguments{QStringLiteral("ivra-cli"), shellQuoted(recipe.source)};
    for (const nlohmann::ordered_json& step : recipe.steps)
        arguments << shellQuoted(stepArgument(step));
    arguments << QStringLiteral("-o") << shellQuoted(output);
    return arguments.join(QLatin1Char(' '));
}

QString recipeDocument(const EntryRecipe& recipe)
{
    return QString::fromStdString(recipe::recipeText(recipe.steps)) + QLatin1Char('\n');
}

} // namespace ivra
