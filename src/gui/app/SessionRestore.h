#pragma once

#include "SessionFile.h"

#include <QStringList>

namespace ivra {

class MainWindow;

struct SessionOutcome {
    int restored = 0;      // entries recomputed, pictures included
    QStringList skipped;   // one line per picture or entry left out, naming it and why
    bool cancelled = false;
};

// Loads the session's pictures into the workbench and recomputes every entry in
// tree order behind a progress dialog with Cancel, with the saved names; shows the
// windows that were shown. A picture that is missing or whose size or SHA-256
// differ is skipped with its subtree. The run counters (kept at least as high
// as they are when adding) and the random generator end as saved.
SessionOutcome restoreSession(MainWindow& app, const Session& session);

} // namespace ivra
