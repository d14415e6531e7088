// Every tree entry knows its recipe: the command line and the recipe file the
// image tree's popup gives make the entry's values again through ivra-cli.

#include "gui/GuiTestSupport.h"

#include "app/RecipeActions.h"

#include "Npy.h"

#include "util/RandomGenerator.h"

#include <QBuffer>
#include <QProcess>

using namespace guitest;

namespace {

QByteArray npyOf(const DataObject& data)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    encodeNpy(buffer, data);
    return buffer.data();
}

QByteArray runCli(const QString& workDir, const QStringList& args, const QString& output)
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(IVRA_CLI_PATH), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QFile f(workDir + "/" + output);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(EntryRecipe, CopyCommandAndSavedRecipeMakeTheEntryAgain)
{
    QTemporaryDir dir;
    QImage picture(13, 9, QImage::Format_RGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            picture.setPixel(x, y, qRgb(19 * x + y, 27 * y, (x * y * 7) % 256));
    ASSERT_TRUE(picture.save(dir.filePath("pic.png")));
    MainWindow app;
    DataEntry* source = app.openImage(dir.filePath("pic.png"));
    ASSERT_NE(source, nullptr);
    // The noise starts from wherever the workbench's generator stands.
    RandomGenerator::instance().setState(987654321u);
    ASSERT_FALSE(runFromMenu(app, "Noise/Salt-and-Pepper", source));
    DataEntry* noisy = source->children().back().get();
    ASSERT_FALSE(runFromMenu(app, "Segmentation/Color Structure Code", noisy, "hsvButton thresholdSpin=40"));
    const DataEntry* csc = noisy->children().back().get();
    ASSERT_FALSE(runFromMenu(app, "Split", source, ""));
    ASSERT_FALSE(runFromMenu(app, "Statistics/Histogram", source->children().back().get(), "RadioButton32"));
    const DataEntry* histogram = source->children().back()->children().back().get();

    for (const DataEntry* entry : {csc, histogram}) {
        SCOPED_TRACE(entry->name().toStdString());
        const QString command = RecipeActions::command(*entry);
        QStringList args = command.split(' ');
        ASSERT_EQ(args.takeFirst(), "ivra-cli");
        EXPECT_EQ(runCli(dir.path(), args, "pic-result.npy"), npyOf(*entry->data())) << command.toStdString();

        QString error;
        ASSERT_TRUE(RecipeActions::saveRecipe(*entry, dir.filePath("r.json"), error)) << error.toStdString();
        EXPECT_EQ(runCli(dir.path(), {"--recipe", "r.json", "pic.png", "-o", "r.npy"}, "r.npy"),
                  npyOf(*entry->data()));
    }
}
