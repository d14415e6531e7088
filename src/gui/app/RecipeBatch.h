#pragma once

#include "recipe/RecipeError.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class QWidget;

namespace ivra {

// A recipe applied to picture files on a thread of its own: each input's result
// goes to OUTPUT_DIR/STEM.SUFFIX, written in full or not at all. Cancel stops
// after the picture at hand; the files already finished stay.
class RecipeBatch {
public:
    RecipeBatch(std::vector<recipe::StepCall> calls, QStringList inputs, QString outputDir, QString suffix);
    ~RecipeBatch(); // cancels and waits
    RecipeBatch(const RecipeBatch&) = delete;
    RecipeBatch& operator=(const RecipeBatch&) = delete;

    void start();
    void cancel() { cancelled_ = true; }
    void wait();
    bool finished() const { return finished_; }
    int done() const { return done_; }       // inputs finished, written or failed
    int written() const { return written_; } // outputs written
    int total() const { return static_cast<int>(inputs_.size()); }
    bool cancelled() const { return cancelled_; }
    QStringList failures() const;            // one line per failed input: its name and why

    // The output file of an input.
    QString outputOf(const QString& input) const;

private:
    void run();

    std::vector<recipe::StepCall> calls_;
    QStringList inputs_;
    QString outputDir_;
    QString suffix_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int> done_{0};
    std::atomic<int> written_{0};
    mutable std::mutex mutex_;
    QStringList failures_;
    std::thread thread_;
};

// Runs the batch behind a progress dialog with Cancel and returns what it did, in a sentence or two.
QString runRecipeBatch(QWidget* parent, RecipeBatch& batch);

} // namespace ivra
