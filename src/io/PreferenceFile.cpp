#include "PreferenceFile.h"

#include <QFile>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

namespace ivra {

namespace {

QByteArray readBounded(QIODevice& device)
{
    QByteArray bytes;
    while (bytes.size() < kPreferenceFileLimit) {
        const QByteArray chunk = device.read(kPreferenceFileLimit - bytes.size());
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() == kPreferenceFileLimit && !device.read(1).isEmpty())
        bytes.truncate(bytes.lastIndexOf('\n') + 1); // the cut line is not a whole line
    return bytes;
}

} // namespace

Preferences readPreferences(QIODevice& device)
{
    Preferences preferences;
    const QByteArray bytes = readBounded(device);
    QTextStream in(bytes);
    QString line;
    while (in.readLineInto(&line)) {
        if (line.startsWith(QLatin1String("MAX_PIXELS="))) {
            bool ok = false;
            const qint64 n = line.mid(11).toLongLong(&ok);
            if (ok && n >= 0)
                preferences.maxPixels = n;
        }
        if (line.startsWith(QLatin1String("THREADS="))) {
            bool ok = false;
            const int n = line.mid(8).toInt(&ok);
            if (ok && n >= 1)
                preferences.threads = n;
        }
        if (!line.contains(QLatin1String("PATH")))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        preferences.startLocation = eq < 0 ? line : line.mid(eq + 1);
    }
    return preferences;
}

Preferences readPreferences(const QString& path)
{
    // Non-blocking open: a named pipe without a writer reads as empty instead of
    // waiting; reads then block as usual.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    return readPreferences(file);
}

QString readStartLocation(QIODevice& device) { return readPreferences(device).startLocation; }
QString readStartLocation(const QString& path) { return readPreferences(path).startLocation; }
int readThreadCount(QIODevice& device) { return readPreferences(device).threads; }
int readThreadCount(const QString& path) { return readPreferences(path).threads; }

} // namespace ivra
