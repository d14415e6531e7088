#include "RunPlan.h"

#include "CliError.h"
#include "InputLoader.h"
#include "OutputWriter.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace ivra::cli {

namespace {

// Every option that names an output file; each is a pattern.
constexpr std::string Options::* outputFields[] = {&Options::output, &Options::labels, &Options::regions,
                                                   &Options::borders};

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

} // namespace

std::string expandPattern(const std::string& pattern, const std::string& input)
{
    if (pattern.find('{') == std::string::npos)
        return pattern;
    const QFileInfo info(qPath(input));
    std::string name = pattern;
    replaceAll(name, "{stem}", info.completeBaseName().toLocal8Bit().toStdString());
    replaceAll(name, "{dir}", info.path().toLocal8Bit().toStdString());
    return name;
}

std::vector<Options> planRuns(const Options& o)
{
    const bool several = o.inputs.size() > 1;
    for (const auto field : outputFields)
        if (several && !(o.*field).empty() && (o.*field).find("{stem}") == std::string::npos)
            throw CliError("with several inputs the output name '" + o.*field + "' must contain {stem}");
    std::vector<Options> runs;
    std::map<QString, std::string> writers; // clean absolute output path -> the input writing it
    for (const std::string& input : o.inputs) {
        Options run = o;
        run.input = input;
        run.inputs = {input};
        for (const auto field : outputFields) {
            run.*field = expandPattern(o.*field, input);
            if ((run.*field).empty() || !several)
                continue;
            const QString key = QDir::cleanPath(QFileInfo(qPath(run.*field)).absoluteFilePath());
            const auto [at, added] = writers.emplace(key, input);
            if (!added)
                throw CliError("inputs " + at->second + " and " + input + " would both write " + run.*field);
        }
        checkOutputNames(run);
        runs.push_back(std::move(run));
    }
    return runs;
}

} // namespace ivra::cli
