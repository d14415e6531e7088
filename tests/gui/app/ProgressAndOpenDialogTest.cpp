// The progress dialog of long runs and File > Open's dialog with its preview.

#include "gui/GuiTestSupport.h"

#include "app/OpenFileDialog.h"
#include "app/ProgressRunner.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace guitest;

TEST(Progress, QuickCallsShowNoDialogAndReturnTheirResult)
{
    ProgressCanceller canceller;
    const auto result = runWithProgress(nullptr, "quick", [](const Progress& p) {
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
        runWithProgress(nullptr, "long", [&](const Progress& p) {
            for (int i = 0; i < 400 && firstSeen < 0; ++i) {
                QThread::msleep(5);
                p.update(i + 1, total);
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<QProgressDialog*>(w) && w->isVisible() && firstSeen < 0)
                        firstSeen = clock.elapsed();
            }
            return 0;
        });
        ASSERT_GE(firstSeen, 0) << "total " << total << ": the dialog never showed";
        EXPECT_GE(firstSeen, progressDelayMs) << "total " << total;
        EXPECT_LT(firstSeen, progressDelayMs + 400) << "total " << total;
    }
}

TEST(OpenDialog, PreviewShowsPpmAndPgmClearsForFoldersAndBrokenFiles)
{
    QTemporaryDir dir;
    OpenFilePreview preview;
    preview.previewPath(writePnm(dir.filePath("a.ppm"), 30, 20, false, 9));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(30, 20));

    // A PNG leaves the preview as it was.
    QImage png(5, 5, QImage::Format_RGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(dir.filePath("b.png")));
    preview.previewPath(dir.filePath("b.png"));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(30, 20));

    // The complete extension counts: "x.pgm.bak" is previewed too.
    preview.previewPath(writePnm(dir.filePath("c.pgm.bak"), 7, 8, true, 1));
    EXPECT_EQ(preview.pictureArea()->size(), QSize(7, 8));
    preview.previewPath(dir.path());
    EXPECT_EQ(preview.pictureArea()->size(), QSize(0, 0));

    // A PPM that cannot be read clears the preview rather than leaving an older picture.
    preview.previewPath(writePnm(dir.filePath("d.ppm"), 4, 4, false, 1));
    QFile broken(dir.filePath("broken.ppm"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("P6\n");
    broken.close();
    preview.previewPath(broken.fileName());
    EXPECT_EQ(preview.pictureArea()->size(), QSize(0, 0));
    EXPECT_TRUE(preview.pictureArea()->pixmap().isNull());
}

TEST(OpenDialog, StartsWhereThePreferenceFileSaysWithThePreviewBesideTheList)
{
    QTemporaryDir dir;
    QFile pref(dir.filePath("ivra.preference"));
    ASSERT_TRUE(pref.open(QIODevice::WriteOnly));
    pref.write(QStringLiteral("# start\nPATH=%1\n").arg(dir.path()).toUtf8());
    pref.close();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    OpenFileDialog opener;
    QDir::setCurrent(previous);
    EXPECT_EQ(opener.startLocation(), dir.path());

    const QString ppm = writePnm(dir.filePath("shown.ppm"), 12, 9, false, 50);
    bool checked = false;
    driveModal([&opener] { EXPECT_FALSE(opener.exec()); },
               [&] {
                   QFileDialog* dialog = opener.dialog();
                   ASSERT_NE(dialog, nullptr);
                   EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
                   EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
                   ASSERT_TRUE(dialog->isAncestorOf(opener.preview()));
                   // Highlighting a file reaches the preview.
                   emit dialog->currentChanged(ppm);
                   EXPECT_EQ(opener.preview()->pictureArea()->size(), QSize(12, 9));
                   EXPECT_EQ(opener.fileName(), ppm);
                   checked = true;
                   dialog->reject();
               });
    EXPECT_TRUE(checked);
    // The next dialog starts at the last chosen file.
    opener.loadImageSlot(ppm);
    EXPECT_EQ(opener.startLocation(), ppm);
}
