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

} // namespace ivra
