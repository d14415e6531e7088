#include "GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include <gtest/gtest.h>

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
        qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                         : qgetenv("QT_QPA_PLATFORM"));
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

} // namespace

namespace guitest {

std::unique_ptr<ImageRGB> rgbImage(int w, int h, int r, int g, int b)
{
    auto im = std::make_unique<ImageRGB>(w, h);
    for (int i = 0; i < w * h; ++i) {
        im->red()[i] = r;
        im->green()[i] = g;
        im->blue()[i] = b;
    }
    return im;
}

std::unique_ptr<ImageGray> grayImage(int w, int h, int v)
{
    auto im = std::make_unique<ImageGray>(w, h);
    for (int i = 0; i < w * h; ++i)
        im->data()[i] = v;
    return im;
}

std::unique_ptr<ImageHSV> hsvImage(int w, int h, int hue, int s, int v)
{
    auto im = std::make_unique<ImageHSV>(w, h);
    for (int i = 0; i < w * h; ++i) {
        im->hue()[i] = hue;
        im->saturation()[i] = s;
        im->value()[i] = v;
    }
    return im;
}

DataEntry* addTopLevel(IvraApp& app, std::unique_ptr<DataObject> data, const QString& name)
{
    return app.root()->addChild(std::move(data), name);
}

MessageBoxCatcher::MessageBoxCatcher()
{
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->isVisible()) {
                ++count_;
                title_ = box->windowTitle();
                text_ = box->text();
                box->done(QMessageBox::Ok);
            }
        }
    });
    timer_.start();
}

MessageBoxCatcher::~MessageBoxCatcher() = default;

void driveModal(const std::function<void()>& start, const std::function<void()>& whileOpen)
{
    QTimer::singleShot(0, whileOpen);
    start();
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
