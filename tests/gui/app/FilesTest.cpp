// Opening and saving files: error details, File > Recent, PGM saving asks before
// turning colour gray, JPEG, BMP and TIFF round trips.

#include "gui/GuiTestSupport.h"

#include "app/OperatorDialog.h"
#include "app/RecentFiles.h"
#include "view/SegmentationViewer.h"

#include "PictureReader.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTranslator>

using namespace guitest;

TEST(OpenFile, ErrorsNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    MainWindow app;
    const QString rows[][2] = {
        {dir.filePath("missing.png"), "missing.png"},
        {writeFile(dir.filePath("notes.txt"), "text"), "not a picture file name"},
        {writeFile(dir.filePath("broken.ppm"), "P6\n"), "broken.ppm"},
    };
    for (const auto& [path, detail] : rows) {
        MessageBoxCatcher box;
        EXPECT_EQ(app.openImage(path), nullptr);
        EXPECT_EQ(box.title, "I/O Error !");
        EXPECT_TRUE(box.text.startsWith("Could not open the document !\n")) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(detail)) << box.text.toStdString();
    }
}

TEST(OpenFile, OtherFormatsLoadAndTheRecentListKeepsTheLastEight)
{
    QTemporaryDir dir;
    MainWindow app;
    QImage gray(4, 3, QImage::Format_Grayscale8);
    gray.fill(77);
    for (const QString format : {"jpg", "bmp", "tiff"}) { // the same gray rule as PNG
        ASSERT_TRUE(gray.save(dir.filePath("g." + format)));
        EXPECT_EQ(app.openImage(dir.filePath("g." + format))->type(), TypeImageGray) << format.toStdString();
    }
    QStringList opened; // newest first
    for (int i = 0; i < 10; ++i)
        opened.prepend(app.openImage(writePnm(dir.filePath(QStringLiteral("p%1.ppm").arg(i)), 2, 2, false, 1))
                           ? dir.filePath(QStringLiteral("p%1.ppm").arg(i))
                           : QString());
    app.openImage(opened[3]); // opened again: moves to the top, not listed twice
    opened.move(3, 0);
    EXPECT_EQ(app.recentFiles()->paths(), opened.mid(0, RecentFiles::capacity));
}

TEST(SaveAs, PgmWritesGrayAndAsksBeforeConvertingColour)
{
    QTemporaryDir dir;
    MainWindow app;
    app.show();
    app.showEntry(addTopLevel(app, rgbImage(3, 2, 200, 100, 50), "colour"));
    const QString path = dir.filePath("x.pgm");
    {
        MessageBoxCatcher no(QMessageBox::No);
        EXPECT_FALSE(app.saveActiveWindowAs(path));
    }
    EXPECT_FALSE(QFile::exists(path));
    {
        MessageBoxCatcher yes(QMessageBox::Yes);
        EXPECT_TRUE(app.saveActiveWindowAs(path));
    }
    const std::unique_ptr<Image> back = readPicture(path);
    EXPECT_TRUE(sameData(*back, *grayImage(3, 2, qGray(200, 100, 50))));

    // A gray picture is saved without a question.
    app.showEntry(addTopLevel(app, grayImage(3, 2, 9), "gray"));
    MessageBoxCatcher none;
    EXPECT_TRUE(app.saveActiveWindowAs(dir.filePath("y.pgm")));
    EXPECT_EQ(none.count, 0);
}

TEST(Translation, TheGermanFileBuiltBesideTheWorkbenchTranslatesEveryMenuKeyAndHelp)
{
    const auto texts = [] {
        MainWindow app;
        QStringList all;
        for (const QAction* a : app.findChildren<QAction*>())
            if (!a->text().isEmpty() && (a->menu() || !a->shortcut().isEmpty()))
                all << a->text();
        for (const OperatorDialog* d : app.findChildren<OperatorDialog*>())
            all << d->helpText();
        return all << SegmentationViewer::helpText();
    };
    const QStringList english = texts();
    QTranslator german;
    ASSERT_TRUE(german.load("ivra.de", QCoreApplication::applicationDirPath() + "/../src"));
    QApplication::installTranslator(&german);
    const QStringList translated = texts();
    QApplication::removeTranslator(&german);
    for (qsizetype i = 0; i < english.size(); ++i)
        EXPECT_NE(translated.value(i), english[i]);
}
