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
bool runWithProgress(QWidget* parent, const QString& label, const std::function<void(const ivra::Progress&)>& work);

// The same for a call that returns its result: the result, or nothing when cancelled.
template <class F>
auto runWithProgress(QWidget* parent, const QString& label, F&& work)
    -> std::optional<std::invoke_result_t<F, const ivra::Progress&>>
    requires(!std::is_void_v<std::invoke_result_t<F, const ivra::Progress&>>)
{
    std::optional<std::invoke_result_t<F, const ivra::Progress&>> result;
    runWithProgress(parent, label, std::function<void(const ivra::Progress&)>([&](const ivra::Progress& p) {
                        result.emplace(work(p));
                    }));
    return result;
}

// Milliseconds a call runs before the progress dialog shows itself.
inline constexpr int progressDelayMs = 500;

} // namespace ivra
