#pragma once

#include "util/Progress.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class QWidget;

namespace ivra {

// Runs a long core call in the GUI thread behind a progress dialog with a Cancel
// button. The dialog appears only when the call takes longer than about half a
// second; until then no user input is handled, afterwards the dialog is modal.
// Returns false when the user cancelled (the call threw ivra::Cancelled).
// A call that repeats one pass `iterations` times (> 1) gets a second line under
// the label: which iteration runs and the time left.
bool runWithProgress(QWidget* parent, const QString& label, const std::function<void(const ivra::Progress&)>& work,
                     int iterations = 1);

// The same for a call that returns its result: the result, or nothing when cancelled.
template <class F>
auto runWithProgress(QWidget* parent, const QString& label, F&& work, int iterations = 1)
    -> std::optional<std::invoke_result_t<F, const ivra::Progress&>>
    requires(!std::is_void_v<std::invoke_result_t<F, const ivra::Progress&>>)
{
    std::optional<std::invoke_result_t<F, const ivra::Progress&>> result;
    runWithProgress(parent, label, std::function<void(const ivra::Progress&)>([&](const ivra::Progress& p) {
                        result.emplace(work(p));
                    }),
                    iterations);
    return result;
}

// Milliseconds a call runs before the progress dialog shows itself.
inline constexpr int progressDelayMs = 500;

} // namespace ivra
