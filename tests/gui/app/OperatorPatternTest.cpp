// The pieces every operator dialog uses: progress with cancel, the help window,
// the open dialog's preview and start location.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/ImageView.h"
#include "app/IvraApp.h"
#include "app/LoadImage.h"
#include "app/OperatorDialog.h"
#include "app/ProgressRunner.h"
#include "app/QInfoDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QThread>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

namespace {

// A slow operator that counts its runs the way the real dialogs do.
class SlowDialog : public OperatorDialog {
public:
    static inline int counter = 1;
    int stepsToRun = 0;

    explicit SlowDialog(QWidget* parent) : OperatorDialog(parent, "Slow", {TypeImageGray}, Family::HandWritten) {}

    void execute() override
    {
        DataEntry* source = sourceOrComplain();
        if (!source)
            return;
        const int steps = stepsToRun;
        auto result = runOperator([steps](const ivra::Progress& p) {
            for (int i = 0; i < steps; ++i) {
                QThread::msleep(5);
                p.update(i, steps);
            }
            return grayImage(1, 1, 0);
        });
        if (!result)
            return; // cancelled: nothing added, counter unchanged
        addResult(*source, std::move(*result), QStringLiteral("(%1) Slow").arg(counter));
        ++counter;
        finish();
    }
    QString helpText() const override { return "<b>Slow</b> help"; }
};

} // namespace

TEST(Progress, QuickCallsShowNoDialogAndReturnTheirResult)
{
    ProgressCanceller canceller;
    const auto result = runWithProgress(nullptr, "quick", [](const ivra::Progress& p) {
        p.update(1, 2);
        return 42;
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, 42);
    EXPECT_FALSE(canceller.sawDialog);
}

TEST(Progress, DialogShowsAfterHalfASecondWhateverTheCallReports)
{
    // total 1000: the call soon looks long, yet the user is left alone for half a
    // second; total 100000: its first hundred steps are under a thousandth, and
    // the dialog still comes after half a second.
    for (const int total : {1000, 100000}) {
        qint64 firstSeen = -1;
        QElapsedTimer clock;
        clock.start();
        const auto result = runWithProgress(nullptr, "long", [&](const ivra::Progress& p) {
            for (int i = 0; i < 400 && firstSeen < 0; ++i) {
                QThread::msleep(5);
                p.update(i + 1, total);
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<QProgressDialog*>(w) && w->isVisible() && firstSeen < 0)
                        firstSeen = clock.elapsed();
            }
            return 0;
        });
        ASSERT_TRUE(result.has_value());
        ASSERT_GE(firstSeen, 0) << "total " << total << ": the dialog never showed";
        EXPECT_GE(firstSeen, progressDelayMs) << "total " << total;
    }
}

TEST(Progress, CancelledRunAddsNothingAndKeepsTheCounter)
{
    IvraApp app;
    auto* d = new SlowDialog(&app);
    DataEntry* source = addTopLevel(app, grayImage(1, 1, 0), "g");
    d->fillList();
    ASSERT_TRUE(d->selectEntry(source));
    const int before = SlowDialog::counter;

    ProgressCanceller canceller;
    d->stepsToRun = 2000; // ten seconds unless cancelled
    QElapsedTimer clock;
    clock.start();
    d->execute();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(canceller.sawDialog);
    EXPECT_TRUE(source->children().empty());
    EXPECT_EQ(SlowDialog::counter, before);

    // The next run goes through and takes the counter's value.
    canceller.timer.stop();
    d->stepsToRun = 3;
    d->execute();
    ASSERT_EQ(source->children().size(), 1u);
    EXPECT_EQ(source->children()[0]->name(), QStringLiteral("(%1) Slow").arg(before));
    EXPECT_EQ(SlowDialog::counter, before + 1);
}

TEST(Progress, CountersSurviveClearAll)
{
    IvraApp app;
    auto* d = new SlowDialog(&app);
    addTopLevel(app, grayImage(1, 1, 0), "g");
    d->fillList();
    d->selectEntry(app.entryAt(0));
    d->execute();
    const int next = SlowDialog::counter;
    app.slotFileClearAll();
    DataEntry* again = addTopLevel(app, grayImage(1, 1, 0), "h");
    d->fillList();
    d->selectEntry(again);
    d->execute();
    EXPECT_EQ(again->children()[0]->name(), QStringLiteral("(%1) Slow").arg(next));
}

TEST(InfoDialog, ShowsTheHelpAsRichTextWithClose)
{
    QInfoDialog info("<b>bold</b> words", nullptr, "help");
    EXPECT_EQ(info.size(), QSize(400, 300));
    EXPECT_EQ(info.minimumSize(), QSize(400, 300));
    EXPECT_TRUE(info.isModal());
    EXPECT_EQ(info.textView()->toPlainText(), "bold words");
    QPushButton* close = info.findChild<QPushButton*>();
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "Close");
}

TEST(OpenDialog, PreviewFollowsTheRulesForEachKindOfPath)
{
    QTemporaryDir dir;
    ImageView preview;
    EXPECT_GE(preview.minimumWidth(), 300);
    preview.previewPath(writePnm(dir.filePath("a.ppm"), 30, 20, false, 9));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(30, 20));

    // A PNG leaves the preview as it was.
    QImage png(5, 5, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(dir.filePath("b.png")));
    preview.previewPath(dir.filePath("b.png"));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(30, 20));

    // The complete extension counts: "x.pgm.bak" is previewed too.
    writePnm(dir.filePath("c.pgm.bak"), 7, 8, true, 1);
    preview.previewPath(dir.filePath("c.pgm.bak"));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(7, 8));

    preview.previewPath(dir.path());
    EXPECT_EQ(preview.pictureArea()->size(), QSize(0, 0));

    // A PPM that cannot be read clears the preview rather than leaving an older picture.
    preview.previewPath(writePnm(dir.filePath("d.ppm"), 4, 4, false, 1));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(4, 4));
    QFile broken(dir.filePath("broken.ppm"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("P6\n");
    broken.close();
    preview.previewPath(broken.fileName());
    EXPECT_EQ(preview.pictureArea()->size(), QSize(0, 0));
    EXPECT_TRUE(preview.pictureArea()->pixmap().isNull());
}

TEST(OpenDialog, IsTheToolkitsDialogWithThePreviewBesideTheList)
{
    QTemporaryDir dir;
    const QString ppm = writePnm(dir.filePath("shown.ppm"), 12, 9, false, 50);
    LoadImage loader;
    loader.setStartLocation(dir.path());
    bool checked = false;
    driveModal([&loader] { EXPECT_FALSE(loader.exec()); },
               [&] {
                   QFileDialog* dialog = loader.dialog();
                   ASSERT_NE(dialog, nullptr);
                   EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
                   EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
                   EXPECT_EQ(dialog->nameFilters(), QStringList({"All Images (*.png *.pgm *.ppm)"}));
                   EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
                   ImageView* preview = loader.preview();
                   ASSERT_NE(preview, nullptr);
                   EXPECT_TRUE(dialog->isAncestorOf(preview));
                   // Highlighting a file reaches the preview.
                   emit dialog->currentChanged(ppm);
                   EXPECT_EQ(preview->pictureArea()->size(), QSize(12, 9));
                   EXPECT_EQ(loader.fileName(), ppm);
                   checked = true;
                   dialog->reject();
               });
    EXPECT_TRUE(checked);
    EXPECT_EQ(loader.dialog(), nullptr);
}

TEST(OpenDialog, StartsWhereThePreferenceFileSaysThenAtTheLastFile)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QFile pref(dir.filePath("ivra.preference"));
    ASSERT_TRUE(pref.open(QIODevice::WriteOnly));
    pref.write("# start\nPATH=/pictures\n");
    pref.close();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    LoadImage loader;
    QDir::setCurrent(previous);
    EXPECT_EQ(loader.startLocation(), "/pictures");
    EXPECT_EQ(LoadImage::filter(), "All Images (*.png *.pgm *.ppm)");

    loader.previewImageSlot("/pictures/x.ppm");
    EXPECT_EQ(loader.fileName(), "/pictures/x.ppm");
    EXPECT_EQ(loader.startLocation(), "/pictures");
    loader.loadImageSlot("");
    EXPECT_EQ(loader.fileName(), "/pictures/x.ppm");
    loader.loadImageSlot("/other/y.pgm");
    EXPECT_EQ(loader.fileName(), "/other/y.pgm");
    EXPECT_EQ(loader.startLocation(), "/other/y.pgm");
}
