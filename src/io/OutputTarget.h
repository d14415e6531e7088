#pragma once

#include <QString>

namespace ivra {

// Checks a path about to be written by write-then-rename. Renaming over a named
// pipe, a device or a directory would replace it with a regular file (and, for a
// link to a device, destroy the device file), so an existing target that is not
// a regular file once links are followed is refused with an IoError naming it.
void checkOutputTarget(const QString& path);

// Whether two paths reach the same file: the same device and inode when both
// exist, otherwise the same absolute path once the existing directories and
// links are resolved.
bool sameOutputFile(const QString& a, const QString& b);

} // namespace ivra
