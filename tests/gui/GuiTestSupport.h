#pragma once

#include "app/MainWindow.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "app/DataEntry.h"
#include "image/ImageSegmented.h"
#include "view/ImageDisplay.h"
#include "view/PictureWindow.h"
#include "view/ZoomableImageView.h"

#include <QApplication>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QMdiArea>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Readable failure messages for the toolkit's strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(" | ").toStdString() << ']'; }

namespace ivra { class OperatorDialog; }

namespace guitest {

using namespace ivra;

// Pictures filled with one value per plane.
std::unique_ptr<ImageRGB> rgbImage(int w, int h, int r, int g, int b);
std::unique_ptr<ImageGray> grayImage(int w, int h, int v);
// Pictures whose pixels differ from their neighbours, so results depend on parameters.
std::unique_ptr<ImageRGB> busyRgbImage(int w, int h);
std::unique_ptr<ImageGray> busyGrayImage(int w, int h);

// Whether two data objects have one type, one size and the same values.
::testing::AssertionResult sameData(const DataObject& a, const DataObject& b);

// Adds a top-level entry to the main window's tree (no window).
inline DataEntry* addTopLevel(MainWindow& app, std::unique_ptr<DataObject> data, const QString& name)
{
    return app.root()->addChild(std::move(data), name);
}
// The names of an entry's children, in order.
QStringList childNames(const DataEntry* e);

// Calls whileOpen once the modal loop that start() enters (a dialog's exec()) runs.
inline void driveModal(const std::function<void()>& start, const std::function<void()>& whileOpen)
{
    QTimer::singleShot(0, whileOpen);
    start();
}

// Opens the dialog of Operator menu entry "Category/Entry" (or "Entry"), calls whileOpen, closes it.
void openFromMenu(MainWindow& app, const QString& path, const std::function<void(OperatorDialog&)>& whileOpen);
// The same, selecting source, setting widgets, pressing OK; returns whether the dialog stayed open.
bool runFromMenu(MainWindow& app, const QString& path, DataEntry* source, const QString& settings = {});

// Sets widgets by object name, space separated: "name" checks a button, "name=n" sets a
// spin box or slider, "name=text" chooses a combo box entry; a missing one fails.
void setWidgets(QWidget& dialog, const QString& settings);

// While it lives, counts and answers every message box that appears, keeping the last title and texts.
struct MessageBoxCatcher {
    explicit MessageBoxCatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
    QTimer timer;
    int count = 0;
    QString title;
    QString text; // the text and the informative text, one line apart
};

// Presses Cancel on the progress dialog as soon as it shows; records that it did.
struct ProgressCanceller {
    ProgressCanceller();
    QTimer timer;
    bool sawDialog = false;
};

// Write a file of the given bytes, a small binary PPM (P6) or PGM (P5), a red PNG; each returns its path.
QString writeFile(const QString& path, const QByteArray& bytes);
QString writePnm(const QString& path, int w, int h, bool gray, unsigned char value);
QString writePng(const QString& path, int w, int h);

} // namespace guitest
