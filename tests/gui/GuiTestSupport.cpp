#include "GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/OperatorDialog.h"
#include "app/QInfoDialog.h"

#include <QApplication>
#include <QFile>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <set>

namespace ivra {

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

std::unique_ptr<ImageRGB> twoColours(int w, int h, int leftColumns, ImageColor::Triple left,
                                     ImageColor::Triple right)
{
    auto im = std::make_unique<ImageRGB>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const ImageColor::Triple& c = x < leftColumns ? left : right;
            im->setPixel(static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x),
                        static_cast<std::int16_t>(c[0]), static_cast<std::int16_t>(c[1]), static_cast<std::int16_t>(c[2]));
        }
    return im;
}

std::size_t regionCount(const ImageSegmented& s)
{
    return std::set<std::uint32_t>(s.labels.data(), s.labels.data() + s.labels.size()).size();
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

QStringList childNames(const DataEntry* e)
{
    QStringList names;
    for (const auto& c : e->children())
        names << c->name();
    return names;
}

QStringList listed(OperatorDialog* d)
{
    d->fillList();
    QStringList names;
    for (int i = 0; i < d->listView()->topLevelItemCount(); ++i)
        names << d->listView()->topLevelItem(i)->text(0);
    return names;
}

bool runDialog(OperatorDialog* d, DataEntry* source, const std::function<void()>& setWidgets)
{
    bool stillOpen = false;
    driveModal([d] { d->showDialog(); },
               [d, source, setWidgets, &stillOpen] {
                   EXPECT_TRUE(d->isVisible());
                   EXPECT_TRUE(d->selectEntry(source));
                   if (setWidgets)
                       setWidgets();
                   d->okButton()->click();
                   stillOpen = d->isVisible();
                   if (stillOpen)
                       d->reject();
               });
    return stillOpen;
}

HelpShown pressInfo(OperatorDialog* d)
{
    HelpShown shown;
    driveModal([d] { d->infoButton()->click(); },
               [&shown] {
                   for (QWidget* w : QApplication::topLevelWidgets())
                       if (auto* i = qobject_cast<QInfoDialog*>(w); i && i->isVisible()) {
                           shown = {i->textView()->toPlainText(), i->size(), i->isModal(), false};
                           if (auto* close = i->findChild<QPushButton*>())
                               close->click();
                           shown.closedByClose = !i->isVisible();
                           if (i->isVisible())
                               i->reject();
                       }
               });
    return shown;
}

QList<QWidget*> tabOrder(const OperatorDialog& d)
{
    QList<QWidget*> order;
    QWidget* w = d.listView();
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w;
        w = w->nextInFocusChain();
    } while (w != d.listView());
    return order;
}

void expectBuddyLabel(const QWidget* w, const QString& text)
{
    const QLabel* label = nullptr;
    for (const QLabel* l : w->parentWidget()->findChildren<QLabel*>())
        if (l->buddy() == w)
            label = l;
    ASSERT_NE(label, nullptr) << w->objectName().toStdString();
    EXPECT_EQ(label->text(), text);
}

QAction* operatorAction(IvraApp& app, const QString& category, const QString& text)
{
    for (QAction* a : app.operatorMenu()->actions()) {
        if (category.isEmpty() && !a->menu() && a->text() == text)
            return a;
        if (!category.isEmpty() && a->menu() && a->text() == category)
            for (QAction* b : a->menu()->actions())
                if (b->text() == text)
                    return b;
    }
    return nullptr;
}

QStringList operatorSubmenu(IvraApp& app, const QString& category, QStringList* tips)
{
    QStringList texts;
    for (QAction* a : app.operatorMenu()->actions())
        if (a->menu() && a->text() == category)
            for (const QAction* e : a->menu()->actions()) {
                texts << e->text();
                if (tips)
                    *tips << e->statusTip();
            }
    return texts;
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

namespace {

class LineSink : public ivra::MessageSink {
public:
    explicit LineSink(QStringList& lines) : lines_(lines) {}
    void message(const std::string& text) override { lines_ << QString::fromStdString(text); }

private:
    QStringList& lines_;
};

} // namespace

CapturedMessages::CapturedMessages() : previous_(ivra::MessageSink::install(std::make_unique<LineSink>(lines)))
{
}

CapturedMessages::~CapturedMessages()
{
    ivra::MessageSink::install(std::move(previous_));
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

} // namespace ivra
