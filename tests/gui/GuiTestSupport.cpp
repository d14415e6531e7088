#include "GuiTestSupport.h"

#include "app/OperatorDialog.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QAbstractButton>
#include <QAction>
#include <QAbstractSlider>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSpinBox>

#include <algorithm>
#include <tuple>
#include <vector>

using namespace ivra;

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
struct QtEnvironment : ::testing::Environment {
    void SetUp() override
    {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty())
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ivra_gui_tests";
        static char* argv[] = {name, nullptr};
        defaultHandler = qInstallMessageHandler(quietHandler);
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }
    std::unique_ptr<QApplication> app;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Type, sizes and every value of a data object, in one row of numbers.
std::vector<double> valuesOf(const DataObject& d)
{
    std::vector<double> v{static_cast<double>(d.type())};
    const auto add = [&v](const auto* values, std::size_t n) { v.insert(v.end(), values, values + n); };
    if (const auto* image = dynamic_cast<const Image*>(&d)) {
        const std::size_t n = image->pixelCount();
        v.insert(v.end(), {static_cast<double>(image->width()), static_cast<double>(image->height())});
        if (const auto* gray = dynamic_cast<const ImageGray*>(image))
            add(gray->data(), n);
        for (int c = 0; c < 3; ++c)
            if (const auto* color = dynamic_cast<const ImageColor*>(image))
                add(color->plane(c), n);
        if (const auto* s = dynamic_cast<const ImageSegmented*>(image)) {
            add(s->labels.data(), n);
            for (std::size_t i = 0; i < n; ++i) {
                const RGB24 p = s->sourcePixels[i];
                v.insert(v.end(), {double(p.r), double(p.g), double(p.b)});
            }
        }
    }
    const auto addCounts = [&add](const auto* h) { if (h) add(h->counts(), static_cast<std::size_t>(h->binCount())); };
    addCounts(dynamic_cast<const HistogramGray*>(&d));
    addCounts(dynamic_cast<const HistogramRGB*>(&d));
    addCounts(dynamic_cast<const HistogramHSV*>(&d));
    return v;
}

} // namespace

namespace {

// The workbench keeps its recent files in the user's settings; tests keep theirs
// in a folder of their own, set before the toolkit first reads the variable.
const bool settingsInTemporaryFolder = [] {
    static QTemporaryDir folder;
    return qputenv("XDG_CONFIG_HOME", folder.path().toUtf8());
}();

} // namespace

namespace guitest {

namespace {

// A w x h RGB picture whose pixel i is rgb(i).
template <class F>
std::unique_ptr<ImageRGB> rgbOf(int w, int h, F rgb)
{
    auto im = std::make_unique<ImageRGB>(w, h);
    for (std::size_t i = 0; i < im->pixelCount(); ++i) {
        const auto [r, g, b] = rgb(i);
        im->setPixel(i, static_cast<std::int16_t>(r), static_cast<std::int16_t>(g), static_cast<std::int16_t>(b));
    }
    return im;
}

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

// Every few milliseconds, calls act on each visible top-level widget of type W.
template <class W, class F>
void watch(QTimer& timer, int ms, F act)
{
    QObject::connect(&timer, &QTimer::timeout, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* x = qobject_cast<W*>(w); x && x->isVisible())
                act(x);
    });
    timer.start(ms);
}

} // namespace

std::unique_ptr<ImageRGB> rgbImage(int w, int h, int r, int g, int b)
{
    return rgbOf(w, h, [=](std::size_t) { return std::tuple(r, g, b); });
}

std::unique_ptr<ImageRGB> busyRgbImage(int w, int h)
{
    return rgbOf(w, h, [](std::size_t i) { return std::tuple(i * 37 % 256, i * 91 % 256, (i * 13 + 40) % 256); });
}

std::unique_ptr<ImageGray> grayImage(int w, int h, int v)
{
    auto im = std::make_unique<ImageGray>(w, h);
    std::fill_n(im->data(), im->pixelCount(), v);
    return im;
}

std::unique_ptr<ImageGray> busyGrayImage(int w, int h)
{
    auto im = std::make_unique<ImageGray>(w, h);
    for (std::size_t i = 0; i < im->pixelCount(); ++i)
        im->data()[i] = static_cast<int>(i * 7 % 256);
    return im;
}

::testing::AssertionResult sameData(const DataObject& a, const DataObject& b)
{
    const std::vector<double> va = valuesOf(a);
    const std::vector<double> vb = valuesOf(b);
    if (va.size() != vb.size())
        return ::testing::AssertionFailure() << "sizes differ: " << va.size() << " and " << vb.size() << " values";
    const auto [pa, pb] = std::mismatch(va.begin(), va.end(), vb.begin());
    if (pa == va.end())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "value " << (pa - va.begin()) << ": " << *pa << " and " << *pb;
}

QStringList childNames(const DataEntry* e)
{
    QStringList names;
    for (const auto& c : e->children())
        names << c->name();
    return names;
}

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

bool runFromMenu(MainWindow& app, const QString& path, DataEntry* source, const QString& settings)
{
    bool stayedOpen = true;
    openFromMenu(app, path, [&](OperatorDialog& d) {
        if (!d.selectEntry(source)) {
            ADD_FAILURE() << "the dialog does not list " << source->name().toStdString();
            return;
        }
        setWidgets(d, settings);
        d.okButton()->click();
        stayedOpen = d.isVisible();
    });
    return stayedOpen;
}

void setWidgets(QWidget& dialog, const QString& settings)
{
    for (const QString& setting : settings.split(' ', Qt::SkipEmptyParts)) {
        const QString name = setting.section('=', 0, 0);
        const QString value = setting.section('=', 1);
        bool isNumber = false;
        const int number = value.toInt(&isNumber);
        if (auto* button = dialog.findChild<QAbstractButton*>(name); button && value.isEmpty())
            button->setChecked(true);
        else if (auto* spin = dialog.findChild<QSpinBox*>(name); spin && isNumber)
            spin->setValue(number);
        else if (auto* slider = dialog.findChild<QAbstractSlider*>(name); slider && isNumber)
            slider->setValue(number);
        else if (auto* box = dialog.findChild<QComboBox*>(name); box && box->findText(value) >= 0)
            box->setCurrentText(value);
        else
            ADD_FAILURE() << "cannot set " << setting.toStdString();
    }
}

MessageBoxCatcher::MessageBoxCatcher(QMessageBox::StandardButton answer)
{
    watch<QMessageBox>(timer, 10, [this, answer](QMessageBox* box) {
        ++count;
        title = box->windowTitle();
        text = box->text() + '\n' + box->informativeText();
        box->done(answer);
    });
}

ProgressCanceller::ProgressCanceller()
{
    watch<QProgressDialog>(timer, 20, [this](QProgressDialog* p) {
        sawDialog = true;
        p->cancel();
    });
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    return path;
}

QString writePnm(const QString& path, int w, int h, bool gray, unsigned char value)
{
    return writeFile(path, QStringLiteral("%1\n%2 %3\n255\n").arg(gray ? "P5" : "P6").arg(w).arg(h).toLatin1() +
                               QByteArray(w * h * (gray ? 1 : 3), static_cast<char>(value)));
}

QString writePng(const QString& path, int w, int h)
{
    QImage png(w, h, QImage::Format_RGB32);
    png.fill(Qt::red);
    EXPECT_TRUE(png.save(path, "PNG")) << path.toStdString();
    return path;
}

} // namespace guitest
