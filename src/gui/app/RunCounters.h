#pragma once

#include <QString>

#include <map>

namespace ivra {

// The run numbers of the operators that name their results "(n) ...", one
// counter per operator, kept by the main window. A counter starts at 1, is raised
// only by a run that added its result (a cancelled or refused run leaves it) and
// is never reset: Clear All keeps numbering where it was.
class RunCounters {
public:
    // The number the operator's next result takes.
    int next(const QString& op) const;
    // The operator's run added its result: its next number is one higher.
    void count(const QString& op);
    // Every operator's next number, for a saved session; restore() sets them back.
    const std::map<QString, int>& all() const { return next_; }
    void restore(const QString& op, int next) { next_[op] = next; }

private:
    std::map<QString, int> next_;
};

} // namespace ivra
