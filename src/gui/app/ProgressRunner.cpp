#include "ProgressRunner.h"

#include "IterationClock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>

#include <algorithm>

namespace ivra {

bool runWithProgress(QWidget* parent, const QString& label, const std::function<void(const ivra::Progress&)>& work,
                     int iterations)
{
    QProgressDialog dialog(label, QObject::tr("Cancel"), 0, 1000, parent);
    dialog.setObjectName(QStringLiteral("progress"));
    dialog.setWindowTitle(label);
    dialog.setWindowModality(Qt::ApplicationModal);
    // The dialog would show itself early when it guesses the call will be long;
    // it appears here only once the call has really run for half a second.
    dialog.setMinimumDuration(24 * 60 * 60 * 1000);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0);
    QElapsedTimer clock;
    clock.start();
    IterationClock iterationClock(iterations);
    const auto showIteration = [&](double fraction) {
        const QString text = label + QLatin1Char('\n') + iterationClock.line(fraction, clock.elapsed());
        if (text != dialog.labelText())
            dialog.setLabelText(text);
    };
    if (iterations > 1)
        showIteration(0.0);

    const ivra::Progress progress([&](double fraction) {
        dialog.setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 999.0));
        if (iterations > 1)
            showIteration(fraction);
        if (!dialog.isVisible() && clock.elapsed() >= progressDelayMs)
            dialog.show();
        // Before the dialog shows, user input stays queued: the modal dialog that
        // started the call must not see a second click on its OK button.
        QApplication::processEvents(dialog.isVisible() ? QEventLoop::AllEvents
                                                        : QEventLoop::ExcludeUserInputEvents);
        return !dialog.wasCanceled();
    });

    try {
        work(progress);
    } catch (const ivra::Cancelled&) {
        return false;
    }
    return true;
}

} // namespace ivra
