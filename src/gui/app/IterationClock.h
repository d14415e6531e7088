#pragma once

#include <QString>

namespace ivra {

// The progress dialog's line for a filter that repeats one pass n times: which
// iteration runs and how long the rest will take. The estimate comes from the
// iterations already finished (each takes about as long as the others), so it
// stays put while one iteration runs instead of jumping with every progress report.
class IterationClock {
public:
    explicit IterationClock(int iterations) : iterations_(iterations) {}

    // The line once the call has reported `fraction` (0..1) of its work after
    // elapsedMs milliseconds: "Iteration 2 of 5, about 12 s left".
    QString line(double fraction, qint64 elapsedMs);

private:
    // A time, rounded up to the second: "12 s", "3 min 5 s", "2 h 10 min".
    static QString duration(qint64 ms);

    int iterations_;
    int finished_ = 0;         // iterations done at the last report
    qint64 lastFinishMs_ = 0;  // when the last of them finished
};

} // namespace ivra
