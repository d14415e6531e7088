#include "OutputTarget.h"

#include "IoError.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace ivra {

namespace {

// The path with its directory's links and "." / ".." resolved; the file name as given.
QString resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (dir.isEmpty() ? info.absolutePath() : dir) + QLatin1Char('/') + info.fileName();
}

} // namespace

void checkOutputTarget(const QString& path)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &st) != 0)
        return; // nothing there yet (or a dangling link, which the rename replaces)
    if (!S_ISREG(st.st_mode))
        throw IoError(path.toStdString() + ": exists and is not a regular file; refusing to replace it");
}

bool sameOutputFile(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0)
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return resolvedPath(a) == resolvedPath(b);
}

} // namespace ivra
