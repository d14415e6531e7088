#include "PreferenceFile.h"

#include <QFile>
#include <QTextStream>

namespace ivra {

QString readStartLocation(QIODevice& device)
{
    QString location;
    QTextStream in(&device);
    QString line;
    while (in.readLineInto(&line)) {
        if (!line.contains(QLatin1String("PATH")))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        location = eq < 0 ? line : line.mid(eq + 1);
    }
    return location;
}

QString readStartLocation(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return readStartLocation(file);
}

int readThreadCount(QIODevice& device)
{
    int threads = 0;
    QTextStream in(&device);
    QString line;
    while (in.readLineInto(&line)) {
        if (!line.startsWith(QLatin1String("THREADS=")))
            continue;
        bool ok = false;
        const int n = line.mid(8).toInt(&ok);
        if (ok && n >= 1)
            threads = n;
    }
    return threads;
}

int readThreadCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return readThreadCount(file);
}

} // namespace ivra
