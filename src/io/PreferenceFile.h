#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>

namespace ivra {

// The preference file "ivra.preference": every line that contains "PATH" (upper
// case, anywhere) sets the start location to the text after its first "=", or to
// the whole line when it has none. No trimming; the last such line wins. Lines
// end with "\n" or "\r\n" (the end itself is not part of the line). A line
// "MAX_PIXELS=N" (N a whole number) sets the most pixels a picture may have when
// opened (PictureLimits::maxPixels; 0 keeps the default). Only the first
// kPreferenceFileLimit bytes are read (a line cut there is dropped), so an endless
// file cannot stall or exhaust the start.
inline constexpr qint64 kPreferenceFileLimit = 64 * 1024;

struct Preferences {
    QString startLocation; // empty when no line names one
    std::int64_t maxPixels = 0;
    int threads = 0; // THREADS=N (N >= 1, the last valid line): the operators' thread count; 0: all cores
};

Preferences readPreferences(QIODevice& device);
// A missing or unreadable file gives the defaults; opening never waits for a pipe's writer.
Preferences readPreferences(const QString& path);

// The start location alone.
QString readStartLocation(QIODevice& device);
QString readStartLocation(const QString& path);

// The thread count alone.
int readThreadCount(QIODevice& device);
int readThreadCount(const QString& path);

// The name of the preference file, looked up in the working directory.
inline constexpr const char* preferenceFileName = "ivra.preference";

} // namespace ivra
