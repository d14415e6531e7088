#pragma once

#include "recipe/RecipeError.h"

#include <nlohmann/json.hpp>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace ivra {

class DataEntry;
class RunCounters;

// A workbench session (.ivra, JSON): every loaded picture by path, size and
// SHA-256, the tree of entries below it with their names and the step that made
// each, which windows were shown, the run counters and the random generator's
// state. It holds no pixels: opening it recomputes every entry.
struct Session {
    struct Entry {
        QString name;
        recipe::StepCall call;
        nlohmann::ordered_json step; // as recorded, for the entry's recipe
        bool shown = false;
        std::vector<Entry> children;
    };
    struct Picture {
        QString path;
        qint64 size = 0;
        QByteArray sha256; // hex
        QString name;
        bool shown = false;
        std::vector<Entry> children;
    };
    std::vector<Picture> pictures;
    std::map<QString, int> counters;
    std::uint32_t randomState = 1;
};

// The session file's text for the tree below `root`. Entries whose recipe is
// unknown are left out; a picture file that cannot be read throws RecipeError naming it.
QByteArray sessionText(const DataEntry& root, const RunCounters& counters, std::uint32_t randomState);

// A session file's contents, checked in full first (format, version, every step
// as a recipe step); throws RecipeError saying what is wrong.
Session readSession(const QByteArray& text);

// The SHA-256 of a file's contents in hex, and its size; empty when it cannot be read.
QByteArray fileSha256(const QString& path, qint64* size = nullptr);

} // namespace ivra
