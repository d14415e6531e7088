#include "SessionRestore.h"

#include "DataEntry.h"
#include "MainWindow.h"

#include "recipe/RecipeRunner.h"
#include "util/RandomGenerator.h"

#include <QFileInfo>
#include <QProgressDialog>

#include <algorithm>

namespace ivra {

namespace {

int countEntries(const std::vector<Session::Entry>& entries)
{
    int n = 0;
    for (const Session::Entry& e : entries)
        n += 1 + countEntries(e.children);
    return n;
}

// The step's result that the entry is: the one of its name when a step gives several.
std::unique_ptr<DataObject> resultNamed(recipe::StepResult& result, const QString& name)
{
    for (recipe::StepResult& more : result.more)
        if (QString::fromStdString(more.name) == name)
            return std::move(more.data);
    return std::move(result.data);
}

class Restorer {
public:
    Restorer(MainWindow& app, int total) : app_(app), progress_(QObject::tr("Restoring the session..."),
                                                                  QObject::tr("Cancel"), 0, total, &app)
    {
        progress_.setWindowModality(Qt::WindowModal);
        progress_.setMinimumDuration(500);
    }

    void picture(const Session::Picture& p)
    {
        qint64 size = -1;
        const QByteArray sha256 = fileSha256(p.path, &size);
        if (sha256.isEmpty() || size != p.size || sha256 != p.sha256) {
            outcome.skipped << QObject::tr("%1: %2").arg(p.path, sha256.isEmpty() ? QObject::tr("missing or unreadable")
                                                                                   : QObject::tr("changed since saved"));
            return;
        }
        DataEntry* top = app_.openImage(p.path);
        if (!top)
            return void(outcome.skipped << QObject::tr("%1: cannot be opened").arg(p.path));
        ++outcome.restored;
        if (!p.shown && top->window())
            top->window()->close();
        children(*top, p.children);
    }

    void children(DataEntry& parent, const std::vector<Session::Entry>& entries)
    {
        for (const Session::Entry& e : entries) {
            if (progress_.wasCanceled() || outcome.cancelled)
                return void(outcome.cancelled = true);
            DataEntry* child = nullptr;
            try {
                recipe::ChainState chain;
                recipe::StepResult result = recipe::runStep(*parent.data(), e.call, chain);
                child = parent.addChild(resultNamed(result, e.name), e.name);
            } catch (const std::exception& error) {
                outcome.skipped << QObject::tr("%1: %2").arg(e.name, QString::fromStdString(error.what()));
                continue;
            }
            child->setRecipe(parent.recipe().then(e.step));
            ++outcome.restored;
            progress_.setValue(++done_);
            if (e.shown)
                app_.showEntry(child);
            children(*child, e.children);
        }
    }

    SessionOutcome outcome;

private:
    MainWindow& app_;
    QProgressDialog progress_;
    int done_ = 0;
};

} // namespace

SessionOutcome restoreSession(MainWindow& app, const Session& session)
{
    int total = 0;
    for (const Session::Picture& p : session.pictures)
        total += countEntries(p.children);
    Restorer restorer(app, total);
    for (const Session::Picture& p : session.pictures)
        if (!restorer.outcome.cancelled)
            restorer.picture(p);
    for (const auto& [op, next] : session.counters)
        app.runCounters().restore(op, std::max(next, app.runCounters().next(op)));
    RandomGenerator::instance().setState(session.randomState);
    app.slotUpdateDataList();
    return restorer.outcome;
}

} // namespace ivra
