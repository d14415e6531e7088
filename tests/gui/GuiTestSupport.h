#pragma once

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

// Readable failure messages for the toolkit's strings.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}

class DataEntry;
class IvraApp;

namespace guitest {

// Pictures filled with one value per plane.
std::unique_ptr<ImageRGB> rgbImage(int w, int h, int r, int g, int b);
std::unique_ptr<ImageGray> grayImage(int w, int h, int v);
std::unique_ptr<ImageHSV> hsvImage(int w, int h, int hue, int s, int v);

// Adds a top-level entry to the main window's tree (no window).
DataEntry* addTopLevel(IvraApp& app, std::unique_ptr<DataObject> data, const QString& name);

// Watches for message boxes while armed: each one that appears is recorded and
// closed, so code that runs a modal box can be driven from a test.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();

    int count() const { return count_; }
    QString title() const { return title_; }
    QString text() const { return text_; }

private:
    QTimer timer_;
    int count_ = 0;
    QString title_;
    QString text_;
};

// Calls whileOpen once the modal loop that start() enters is running, then returns
// after start() does (start() typically calls a dialog's exec()).
void driveModal(const std::function<void()>& start, const std::function<void()>& whileOpen);

// Writes a small binary PPM (P6) or PGM (P5) file; returns its path.
QString writePnm(const QString& path, int w, int h, bool gray, unsigned char value);

} // namespace guitest
