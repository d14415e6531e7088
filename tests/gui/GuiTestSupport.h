#pragma once

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"
#include "util/MessageSink.h"

#include "app/IvraApp.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

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

class QAction;

namespace ivra {

class DataEntry;
class OperatorDialog;

namespace guitest {

// Pictures filled with one value per plane.
std::unique_ptr<ImageRGB> rgbImage(int w, int h, int r, int g, int b);
std::unique_ptr<ImageGray> grayImage(int w, int h, int v);
std::unique_ptr<ImageHSV> hsvImage(int w, int h, int hue, int s, int v);
// The left `leftColumns` columns one colour, the rest another.
std::unique_ptr<ImageRGB> twoColours(int w, int h, int leftColumns, ImageColor::Triple left,
                                     ImageColor::Triple right);
// The number of different labels of a segmentation.
std::size_t regionCount(const ImageSegmented& s);

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

// The one dialog of a type the main window made.
template <class Dialog>
Dialog* findDialog(IvraApp& app)
{
    auto* d = app.findChild<Dialog*>();
    if (!d)
        ADD_FAILURE() << "no such dialog";
    return d;
}

// The names of an entry's children, in order.
QStringList childNames(const DataEntry* e);

// Fills the dialog's list; returns the names it shows.
QStringList listed(OperatorDialog* d);

// Opens the dialog as the menu does, picks the entry, sets the widgets and presses
// OK. Returns whether the dialog was still open afterwards (it is then closed).
bool runDialog(OperatorDialog* d, DataEntry* source, const std::function<void()>& setWidgets = {});

// The widgets Tab reaches, in order, starting at the dialog's list.
QList<QWidget*> tabOrder(const OperatorDialog& d);

// Expects a spin box's or slider's range, single step and value.
template <class Ranged>
void expectRange(const Ranged* w, int minimum, int maximum, int value)
{
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->minimum(), minimum) << w->objectName().toStdString();
    EXPECT_EQ(w->maximum(), maximum) << w->objectName().toStdString();
    EXPECT_EQ(w->singleStep(), 1) << w->objectName().toStdString();
    EXPECT_EQ(w->value(), value) << w->objectName().toStdString();
}

// Expects the label beside the widget that names it (its buddy) to read `text`.
void expectBuddyLabel(const QWidget* w, const QString& text);

// Presses the dialog's Info button and returns the help window's text as plain
// text, its size, whether it was modal and whether its Close button closed it.
struct HelpShown {
    QString text;
    QSize size;
    bool modal = false;
    bool closedByClose = false;
};
HelpShown pressInfo(OperatorDialog* d);

// The menu entry `text` of the Operator menu's submenu `category` (straight in the
// Operator menu when category is empty); none when missing.
QAction* operatorAction(IvraApp& app, const QString& category, const QString& text);
// The texts of a submenu of the Operator menu, with their status tips.
QStringList operatorSubmenu(IvraApp& app, const QString& category, QStringList* tips = nullptr);

// Presses Cancel on the progress dialog as soon as it shows; records that it did.
struct ProgressCanceller {
    ProgressCanceller();
    QTimer timer;
    bool sawDialog = false;
};

// Collects the operators' diagnostic lines while it lives.
class CapturedMessages {
public:
    CapturedMessages();
    ~CapturedMessages();
    CapturedMessages(const CapturedMessages&) = delete;
    CapturedMessages& operator=(const CapturedMessages&) = delete;
    QStringList lines;

private:
    std::unique_ptr<ivra::MessageSink> previous_;
};

// Writes a small binary PPM (P6) or PGM (P5) file; returns its path.
QString writePnm(const QString& path, int w, int h, bool gray, unsigned char value);

} // namespace guitest

} // namespace ivra
