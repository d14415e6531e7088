#pragma once

#include <QIODevice>
#include <QString>

namespace ivra {

// The preference file "ivra.preference": every line that contains "PATH" (upper
// case, anywhere) sets the start location to the text after its first "=", or to
// the whole line when it has none. No trimming; the last such line wins. Lines
// end with "\n" or "\r\n" (the end itself is not part of the line).

// Reads the start location from an open device; empty when no line names one.
QString readStartLocation(QIODevice& device);
// Reads it from a file; a missing or unreadable file gives an empty location.
QString readStartLocation(const QString& path);

// A line "THREADS=N" (N a whole number >= 1) sets the thread count of the
// operators; the last such line wins, other values are ignored. 0: none given.
int readThreadCount(QIODevice& device);
int readThreadCount(const QString& path);

// The name of the preference file, looked up in the working directory.
inline constexpr const char* preferenceFileName = "ivra.preference";

} // namespace ivra
