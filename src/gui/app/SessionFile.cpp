#include "SessionFile.h"

#include "DataEntry.h"
#include "RunCounters.h"

#include "recipe/Recipe.h"

#include <QCryptographicHash>
#include <QFile>
#include <QWidget>

namespace ivra {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* sessionFormat = "ivra-session";
constexpr int sessionVersion = 1;

std::string utf8(const QString& s) { return s.toUtf8().toStdString(); }
QString text(const Json& j) { return QString::fromUtf8(j.get<std::string>().c_str()); }

bool isShown(const DataEntry& e) { return e.window() && e.window()->isVisible(); }

Json entryJson(const DataEntry& e)
{
    Json children = Json::array();
    for (const auto& child : e.children())
        if (!child->recipe().source.isEmpty() && !child->recipe().steps.empty())
            children.push_back(entryJson(*child));
    Json j = {{"name", utf8(e.name())}};
    if (!e.recipe().steps.empty())
        j["step"] = e.recipe().steps.back();
    j["shown"] = isShown(e);
    j["children"] = std::move(children);
    return j;
}

// A member of the object of the given kind, or RecipeError naming it.
const Json& member(const Json& object, const char* key, Json::value_t kind, const char* what)
{
    const auto it = object.find(key);
    const bool ok = it != object.end() &&
                    (it->type() == kind || (kind == Json::value_t::number_integer && it->is_number_integer()));
    if (!ok)
        throw recipe::RecipeError(std::string("not a session: ") + what + " has no valid \"" + key + "\"");
    return *it;
}

std::vector<Session::Entry> readChildren(const Json& parent, const char* what)
{
    std::vector<Session::Entry> children;
    for (const Json& c : member(parent, "children", Json::value_t::array, what)) {
        if (!c.is_object())
            throw recipe::RecipeError("not a session: an entry is not a JSON object");
        Session::Entry e;
        e.name = text(member(c, "name", Json::value_t::string, "an entry"));
        e.step = member(c, "step", Json::value_t::object, "an entry");
        e.call = recipe::readRecipeStep(e.step);
        e.shown = member(c, "shown", Json::value_t::boolean, "an entry").get<bool>();
        e.children = readChildren(c, "an entry");
        children.push_back(std::move(e));
    }
    return children;
}

} // namespace

QByteArray fileSha256(const QString& path, qint64* size)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    if (size)
        *size = file.size();
    return hash.result().toHex();
}

QByteArray sessionText(const DataEntry& root, const RunCounters& counters, std::uint32_t randomState)
{
    Json pictures = Json::array();
    for (const auto& top : root.children()) {
        if (top->recipe().source.isEmpty() || !top->recipe().steps.empty())
            continue;
        const QString path = top->recipe().source;
        qint64 size = 0;
        const QByteArray sha256 = fileSha256(path, &size);
        if (sha256.isEmpty())
            throw recipe::RecipeError(utf8(path) + ": cannot read the picture file");
        Json picture = {{"path", utf8(path)}, {"size", size}, {"sha256", sha256.toStdString()}};
        picture.update(entryJson(*top));
        pictures.push_back(std::move(picture));
    }
    Json next = Json::object();
    for (const auto& [op, n] : counters.all())
        next[utf8(op)] = n;
    const Json doc = {{"format", sessionFormat}, {"version", sessionVersion}, {"pictures", pictures},
                      {"counters", next},        {"random_state", randomState}};
    return QByteArray::fromStdString(doc.dump(1, '\t', false, Json::error_handler_t::replace)) + '\n';
}

Session readSession(const QByteArray& bytes)
{
    const Json doc = Json::parse(bytes.toStdString(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
        throw recipe::RecipeError("not a session: the file is no JSON object");
    if (doc.value("format", Json()) != sessionFormat)
        throw recipe::RecipeError("not a session: format must be \"" + std::string(sessionFormat) + "\"");
    if (doc.value("version", Json()) != sessionVersion)
        throw recipe::RecipeError("unsupported session version " + doc.value("version", Json()).dump());
    Session s;
    for (const Json& p : member(doc, "pictures", Json::value_t::array, "the session")) {
        if (!p.is_object())
            throw recipe::RecipeError("not a session: a picture is not a JSON object");
        Session::Picture picture;
        picture.path = text(member(p, "path", Json::value_t::string, "a picture"));
        picture.size = member(p, "size", Json::value_t::number_integer, "a picture").get<qint64>();
        picture.sha256 = QByteArray::fromStdString(member(p, "sha256", Json::value_t::string, "a picture").get<std::string>());
        picture.name = text(member(p, "name", Json::value_t::string, "a picture"));
        picture.shown = member(p, "shown", Json::value_t::boolean, "a picture").get<bool>();
        picture.children = readChildren(p, "a picture");
        s.pictures.push_back(std::move(picture));
    }
    for (const auto& [op, next] : member(doc, "counters", Json::value_t::object, "the session").items()) {
        if (!next.is_number_integer() || next.get<std::int64_t>() < 1 || next.get<std::int64_t>() > 1 << 30)
            throw recipe::RecipeError("not a session: the counter of " + op + " is no positive integer");
        s.counters[QString::fromStdString(op)] = next.get<int>();
    }
    const Json& state = member(doc, "random_state", Json::value_t::number_integer, "the session");
    if (state.get<std::int64_t>() < 0 || state.get<std::int64_t>() > 0xffffffffLL)
        throw recipe::RecipeError("not a session: random_state is out of range");
    s.randomState = static_cast<std::uint32_t>(state.get<std::int64_t>());
    return s;
}

} // namespace ivra
