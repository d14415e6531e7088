#include "GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/OperatorDialog.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageSegmented.h"

#include <QAbstractButton>
#include <QAction>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform complains about window hints it cannot honour; that
// noise would bury real warnings.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    defaultHandler(type, context, message);
}

// The one application object of the test program; offscreen unless told otherwise.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ivra_gui_tests";
        static char* argv[] = {name, nullptr};
        defaultHandler = qInstallMessageHandler(quietHandler);
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

template <class T>
::testing::AssertionResult sameValues(const T* a, const T* b, std::size_t n, const char* what)
{
    const auto [pa, pb] = std::mismatch(a, a + n, b);
    if (pa == a + n)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " differ at " << (pa - a);
}

template <class H>
::testing::AssertionResult sameCounts(const DataObject& a, const DataObject& b)
{
    return sameValues(static_cast<const H&>(a).counts(), static_cast<const H&>(b).counts(),
                      static_cast<std::size_t>(static_cast<const H&>(a).binCount()), "counts");
}

} // namespace

namespace guitest {

std::unique_ptr<ImageRGB> rgbImage(int w, int h, int r, int g, int b)
{
    auto im = std::make_unique<ImageRGB>(w, h);
    for (std::size_t i = 0; i < im->pixelCount(); ++i)
        im->setPixel(i, static_cast<std::int16_t>(r), static_cast<std::int16_t>(g), static_cast<std::int16_t>(b));
    return im;
}

std::unique_ptr<ImageGray> grayImage(int w, int h, int v)
{
    auto im = std::make_unique<ImageGray>(w, h);
    std::fill_n(im->data(), im->pixelCount(), v);
    return im;
}

std::unique_ptr<ImageRGB> busyRgbImage(int w, int h)
{
    auto im = std::make_unique<ImageRGB>(w, h);
    for (std::size_t i = 0; i < im->pixelCount(); ++i)
        im->setPixel(i, static_cast<std::int16_t>(i * 37 % 256), static_cast<std::int16_t>(i * 91 % 256),
                     static_cast<std::int16_t>((i * 13 + 40) % 256));
    return im;
}

std::unique_ptr<ImageGray> busyGrayImage(int w, int h)
{
    auto im = std::make_unique<ImageGray>(w, h);
    for (std::size_t i = 0; i < im->pixelCount(); ++i)
        im->data()[i] = static_cast<int>(i * 53 % 256);
    return im;
}

::testing::AssertionResult sameData(const DataObject& a, const DataObject& b)
{
    if (a.type() != b.type())
        return ::testing::AssertionFailure() << "types " << a.type() << " and " << b.type();
    if (const auto* ia = dynamic_cast<const Image*>(&a)) {
        const auto& ib = static_cast<const Image&>(b);
        if (ia->width() != ib.width() || ia->height() != ib.height())
            return ::testing::AssertionFailure() << "sizes differ";
        const std::size_t n = ia->pixelCount();
        if (const auto* ga = dynamic_cast<const ImageGray*>(ia))
            return sameValues(ga->data(), static_cast<const ImageGray&>(ib).data(), n, "gray values");
        const auto& ca = static_cast<const ImageColor&>(a);
        const auto& cb = static_cast<const ImageColor&>(b);
        for (int c = 0; c < 3; ++c)
            if (auto r = sameValues(ca.plane(c), cb.plane(c), n, "plane values"); !r)
                return r << " in plane " << c;
        const auto* sa = dynamic_cast<const ImageSegmented*>(&a);
        const auto* sb = dynamic_cast<const ImageSegmented*>(&b);
        if (!sa != !sb)
            return ::testing::AssertionFailure() << "only one is a segmentation";
        if (!sa)
            return ::testing::AssertionSuccess();
        if (auto r = sameValues(sa->labels.data(), sb->labels.data(), n, "labels"); !r)
            return r;
        return sameValues(sa->sourcePixels.data(), sb->sourcePixels.data(), n, "source pixels");
    }
    const auto& ha = static_cast<const Histogram&>(a);
    if (ha.binCount() != static_cast<const Histogram&>(b).binCount())
        return ::testing::AssertionFailure() << "bin counts differ";
    switch (a.type()) {
    case TypeHistogramGray:
        return sameCounts<HistogramGray>(a, b);
    case TypeHistogramRGB:
        return sameCounts<HistogramRGB>(a, b);
    default:
        return sameCounts<HistogramHSV>(a, b);
    }
}

DataEntry* addTopLevel(MainWindow& app, std::unique_ptr<DataObject> data, const QString& name)
{
    return app.root()->addChild(std::move(data), name);
}

QStringList childNames(const DataEntry* e)
{
    QStringList names;
    for (const auto& c : e->children())
        names << c->name();
    return names;
}

void driveModal(const std::function<void()>& start, const std::function<void()>& whileOpen)
{
    QTimer::singleShot(0, whileOpen);
    start();
}

namespace {

// The Operator menu entry "Category/Entry" (or "Entry" straight in the menu).
QAction* operatorAction(MainWindow& app, const QString& path)
{
    const QStringList parts = path.split('/');
    for (QAction* a : app.operatorMenu()->actions()) {
        if (parts.size() == 1 && !a->menu() && a->text() == parts[0])
            return a;
        if (parts.size() == 2 && a->menu() && a->text() == parts[0])
            for (QAction* b : a->menu()->actions())
                if (b->text() == parts[1])
                    return b;
    }
    return nullptr;
}

} // namespace

void openFromMenu(MainWindow& app, const QString& path, const std::function<void(OperatorDialog&)>& whileOpen)
{
    QAction* action = operatorAction(app, path);
    ASSERT_NE(action, nullptr) << path.toStdString();
    bool opened = false;
    driveModal([action] { action->trigger(); },
               [&] {
                   for (OperatorDialog* d : app.findChildren<OperatorDialog*>())
                       if (d->isVisible()) {
                           opened = true;
                           whileOpen(*d);
                           if (d->isVisible())
                               d->reject();
                       }
               });
    EXPECT_TRUE(opened) << path.toStdString();
}

bool runFromMenu(MainWindow& app, const QString& path, DataEntry* source,
                 const std::function<void(QWidget&)>& setWidgets)
{
    bool stayedOpen = true;
    openFromMenu(app, path, [&](OperatorDialog& d) {
        EXPECT_TRUE(d.selectEntry(source));
        if (setWidgets)
            setWidgets(d);
        d.okButton()->click();
        stayedOpen = d.isVisible();
    });
    return stayedOpen;
}

void setValue(QWidget& parent, const char* name, int value)
{
    if (auto* spin = parent.findChild<QSpinBox*>(name))
        spin->setValue(value);
    else if (auto* slider = parent.findChild<QAbstractSlider*>(name))
        slider->setValue(value);
    else
        ADD_FAILURE() << "no spin box or slider " << name;
}

void check(QWidget& parent, const char* name, bool on)
{
    if (auto* button = parent.findChild<QAbstractButton*>(name))
        button->setChecked(on);
    else
        ADD_FAILURE() << "no button " << name;
}

void choose(QWidget& parent, const char* name, const QString& text)
{
    auto* box = parent.findChild<QComboBox*>(name);
    if (!box || box->findText(text) < 0) {
        ADD_FAILURE() << "no combo box " << name << " with " << text.toStdString();
        return;
    }
    box->setCurrentText(text);
}

MessageBoxCatcher::MessageBoxCatcher()
{
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                ++count_;
                title_ = box->windowTitle();
                text_ = box->text();
                box->done(QMessageBox::Ok);
            }
    });
    timer_.start();
}

ProgressCanceller::ProgressCanceller()
{
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [this] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) {
                sawDialog = true;
                p->cancel();
            }
    });
    timer.start();
}

QString writePnm(const QString& path, int w, int h, bool gray, unsigned char value)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(QStringLiteral("%1\n%2 %3\n255\n").arg(gray ? "P5" : "P6").arg(w).arg(h).toLatin1());
    f.write(QByteArray(w * h * (gray ? 1 : 3), static_cast<char>(value)));
    return path;
}

} // namespace guitest
