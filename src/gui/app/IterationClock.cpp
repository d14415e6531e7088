#include "IterationClock.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace ivra {

QString IterationClock::line(double fraction, qint64 elapsedMs)
{
    // The core reports i * rows + done of n * rows: the finished iterations are the
    // whole part of fraction * n (the small margin absorbs the division's rounding).
    const int finished = std::clamp(static_cast<int>(std::floor(fraction * iterations_ + 1e-9)), 0, iterations_);
    if (finished > finished_) {
        finished_ = finished;
        lastFinishMs_ = elapsedMs;
    }
    const int running = std::min(finished_ + 1, iterations_);
    const QString which = QCoreApplication::translate("ivra::IterationClock", "Iteration %1 of %2")
                              .arg(running)
                              .arg(iterations_);
    if (finished_ == iterations_)
        return which;
    if (finished_ == 0)
        return QCoreApplication::translate("ivra::IterationClock", "%1, estimating the time left").arg(which);
    const double perIteration = static_cast<double>(lastFinishMs_) / finished_;
    const double left = perIteration * (iterations_ - finished_) - static_cast<double>(elapsedMs - lastFinishMs_);
    if (left < 1000.0)
        return QCoreApplication::translate("ivra::IterationClock", "%1, less than a second left").arg(which);
    return QCoreApplication::translate("ivra::IterationClock", "%1, about %2 left")
        .arg(which, duration(static_cast<qint64>(left)));
}

QString IterationClock::duration(qint64 ms)
{
    const qint64 s = (ms + 999) / 1000; // rounded up: "0 s left" would be wrong while work remains
    if (s < 60)
        return QCoreApplication::translate("ivra::IterationClock", "%1 s").arg(s);
    if (s < 3600)
        return QCoreApplication::translate("ivra::IterationClock", "%1 min %2 s").arg(s / 60).arg(s % 60);
    return QCoreApplication::translate("ivra::IterationClock", "%1 h %2 min").arg(s / 3600).arg(s % 3600 / 60);
}

} // namespace ivra
