// Every tree entry knows its recipe: the command line and the recipe file the
// image tree's popup gives make the entry's values again through ivra-cli, and a
// saved session reopens to the same tree, values, counters and generator state.

#include "gui/GuiTestSupport.h"

#include "app/DataEntryIterator.h"
#include "app/RecipeActions.h"
#include "app/RecipeBatch.h"
#include "app/SessionActions.h"

#include "Npy.h"
#include "recipe/Recipe.h"

#include "util/RandomGenerator.h"

#include <QBuffer>
#include <QProcess>
#include <QProgressDialog>
#include <QTimer>

using namespace guitest;

namespace {

QByteArray npyOf(const DataObject& data)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    encodeNpy(buffer, data);
    return buffer.data();
}

// Every entry below the root in pre-order: its depth, name, values and whether its window shows.
QStringList treeOf(MainWindow& app)
{
    QStringList tree;
    DataEntryIterator it(app.root());
    for (DataEntry* e = it.first(); e; e = it.next())
        if (e != app.root())
            tree << QString("%1 %2 %3 %4")
                        .arg(it.depth())
                        .arg(e->name(), QString(npyOf(*e->data()).toBase64()))
                        .arg(e->window() && e->window()->isVisible());
    return tree;
}

class WorkbenchTree : public ::testing::Test {
protected:
    // A picture with a noise result segmented by the CSC, a split channel's histogram and
    // the green one of the three channel histograms.
    void SetUp() override
    {
        QImage picture(13, 9, QImage::Format_RGB32);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 13; ++x)
                picture.setPixel(x, y, qRgb(19 * x + y, 27 * y, (x * y * 7) % 256));
        ASSERT_TRUE(picture.save(dir.filePath("pic.png")));
        app = std::make_unique<MainWindow>();
        app->show();
        DataEntry* source = app->openImage(dir.filePath("pic.png"));
        ASSERT_NE(source, nullptr);
        // The noise starts from wherever the workbench's generator stands.
        RandomGenerator::instance().setState(987654321u);
        ASSERT_FALSE(runFromMenu(*app, "Noise/Salt-and-Pepper", source));
        DataEntry* noisy = source->children().back().get();
        ASSERT_FALSE(runFromMenu(*app, "Segmentation/Color Structure Code", noisy, "hsvButton thresholdSpin=40"));
        csc = noisy->children().back().get();
        app->showEntry(csc);
        ASSERT_FALSE(runFromMenu(*app, "Split", source, "checkBox2"));
        ASSERT_FALSE(runFromMenu(*app, "Statistics/Histogram", source->children().back().get(), "RadioButton32"));
        histogram = source->children().back()->children().back().get();
        ASSERT_FALSE(runFromMenu(*app, "Statistics/Color &Histogram", source, "ComboBoxChannelRGB=16"));
        green = source->children()[source->children().size() - 2].get(); // red, green, blue
    }

    QByteArray runCli(const QStringList& args, const QString& output) const
    {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral(IVRA_CLI_PATH), args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QFile f(dir.filePath(output));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> app;
    DataEntry* csc = nullptr;
    DataEntry* histogram = nullptr;
    DataEntry* green = nullptr;
};

} // namespace

TEST_F(WorkbenchTree, CopyCommandAndSavedRecipeMakeTheEntryAgain)
{
    for (const DataEntry* entry : {csc, histogram, green}) {
        SCOPED_TRACE(entry->name().toStdString());
        const QString command = RecipeActions::command(*entry);
        QStringList args = command.split(' ');
        ASSERT_EQ(args.takeFirst(), "ivra-cli");
        EXPECT_EQ(runCli(args, "pic-result.npy"), npyOf(*entry->data())) << command.toStdString();

        QString error;
        ASSERT_TRUE(RecipeActions::saveRecipe(*entry, dir.filePath("r.json"), error)) << error.toStdString();
        EXPECT_EQ(runCli({"--recipe", "r.json", "pic.png", "-o", "r.npy"}, "r.npy"), npyOf(*entry->data()));
    }
}

TEST(EntryRecipe, CommandLineQuotesWhatTheShellWouldSplit)
{
    EntryRecipe recipe{"/my pictures/it's.png"};
    recipe = recipe.then({{"step", "hsv"}}).then({{"step", "csc"}, {"space", "hsv"}, {"threshold", 7}});
    EXPECT_EQ(commandLine(recipe, "out.npy"),
              R"(ivra-cli '/my pictures/it'\''s.png' hsv csc:space=hsv,threshold=7 -o out.npy)");
}

TEST_F(WorkbenchTree, ApplyRecipeToFilesWritesEveryPictureItCanAndNamesTheOthers)
{
    std::vector<recipe::StepCall> calls;
    for (const nlohmann::ordered_json& step : csc->recipe().steps)
        calls.push_back(recipe::readRecipeStep(step));
    ASSERT_TRUE(QFile::copy(dir.filePath("pic.png"), dir.filePath("copy.png")));
    const QStringList inputs{dir.filePath("pic.png"), dir.filePath("missing.png"), dir.filePath("copy.png")};
    RecipeBatch batch(calls, inputs, dir.path(), "npy");
    batch.start();
    batch.wait();
    EXPECT_EQ(batch.written(), 2);
    ASSERT_EQ(batch.failures().size(), 1);
    EXPECT_TRUE(batch.failures()[0].startsWith(dir.filePath("missing.png")));
    for (const char* name : {"pic.npy", "copy.npy"}) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.readAll() == npyOf(*csc->data())) << name;
    }
    RecipeBatch cancelled(calls, inputs, dir.filePath("none"), "npy");
    cancelled.cancel();
    cancelled.start();
    cancelled.wait();
    EXPECT_EQ(cancelled.done(), 0);
}

TEST_F(WorkbenchTree, ASessionReopensToTheSameTreeOrSkipsAChangedPicture)
{
    QString error;
    ASSERT_TRUE(SessionActions::saveSession(*app, dir.filePath("s.ivra"), error)) << error.toStdString();
    const QStringList tree = treeOf(*app);
    const auto counters = app->runCounters().all();
    const std::uint32_t state = RandomGenerator::instance().state();
    app = std::make_unique<MainWindow>();
    app->show();
    RandomGenerator::instance().setState(5);
    ASSERT_TRUE(SessionActions::openSession(*app, dir.filePath("s.ivra"), false, error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(treeOf(*app), tree);
    EXPECT_EQ(app->runCounters().all(), counters);
    EXPECT_EQ(RandomGenerator::instance().state(), state);
    // Added to a workbench that is not empty: a second copy of the tree after the first.
    ASSERT_TRUE(SessionActions::openSession(*app, dir.filePath("s.ivra"), false, error)) << error.toStdString();
    EXPECT_EQ(treeOf(*app), tree + tree);
    ASSERT_TRUE(SessionActions::openSession(*app, dir.filePath("s.ivra"), true, error)) << error.toStdString();
    EXPECT_EQ(treeOf(*app), tree);

    // Not a session: refused, the workbench unchanged.
    const QString picture = QString(R"({"path": "%1", "size": 1, "sha256": "00", "name": "p", "shown": false, )"
                                    R"("children": [{"name": "n", "shown": false, "step": %2, "children": []}]})")
                                .arg(dir.filePath("pic.png"));
    const QString session = R"({"format": "%1", "version": %2, "pictures": [%3], "counters": {%4}, "random_state": %5})";
    const QStringList bad{
        session.arg("ivra-recipe", "1", "", "", "1"),
        session.arg("ivra-session", "2", "", "", "1"),
        session.arg("ivra-session", "1", picture.arg(R"({"step": "csc", "thresold": 3})"), "", "1"),
        session.arg("ivra-session", "1", picture.arg(R"({"step": "csc", "threshold": 300})"), "", "1"),
        session.arg("ivra-session", "1", picture.arg(R"("csc")"), "", "1"),
        session.arg("ivra-session", "1", R"({"path": "x.png"})", "", "1"),
        session.arg("ivra-session", "1", "", R"("CSC": 0)", "1"),
        session.arg("ivra-session", "1", "", "", "-1"),
        session.arg("ivra-session", "1", "", "", "4294967296"),
    };
    for (const QString& text : bad) {
        writeFile(dir.filePath("bad.ivra"), text.toUtf8());
        EXPECT_FALSE(SessionActions::openSession(*app, dir.filePath("bad.ivra"), true, error)) << text.toStdString();
        EXPECT_EQ(treeOf(*app), tree);
    }
    writeFile(dir.filePath("good.ivra"), session.arg("ivra-session", "1", "", "", "4294967295").toUtf8());
    ASSERT_TRUE(SessionActions::openSession(*app, dir.filePath("good.ivra"), false, error)) << error.toStdString();
    EXPECT_EQ(RandomGenerator::instance().state(), 4294967295u);

    QImage changed(dir.filePath("pic.png"));
    changed.setPixel(0, 0, qRgb(1, 2, 3));
    ASSERT_TRUE(changed.save(dir.filePath("pic.png")));
    ASSERT_TRUE(SessionActions::openSession(*app, dir.filePath("s.ivra"), true, error));
    EXPECT_TRUE(error.contains(dir.filePath("pic.png"))) << error.toStdString();
    EXPECT_TRUE(app->root()->children().empty());
}

// Cancel while a session is restored: the entries made so far stay whole and in the
// saved tree's order, nothing after them is added, and the message counts them.
TEST_F(WorkbenchTree, CancellingARestoreKeepsTheEntriesMadeSoFar)
{
    app->root()->clearChildren();
    QImage picture(160, 160, QImage::Format_RGB32);
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 160; ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * y) % 256, (x ^ y) % 256));
    ASSERT_TRUE(picture.save(dir.filePath("big.png")));
    DataEntry* big = app->openImage(dir.filePath("big.png"));
    ASSERT_NE(big, nullptr);
    // A slow first entry, so that the progress dialog shows, and quick ones after it.
    ASSERT_FALSE(runFromMenu(*app, "Filter/Kuwahara-Nagao", big, "iterationSpin=10000"));
    for (int i = 0; i < 6; ++i)
        ASSERT_FALSE(runFromMenu(*app, "Filter/SNN", big));
    QString message;
    ASSERT_TRUE(SessionActions::saveSession(*app, dir.filePath("s.ivra"), message)) << message.toStdString();
    const QStringList tree = treeOf(*app);

    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        for (QProgressDialog* progress : app->findChildren<QProgressDialog*>())
            if (progress->isVisible())
                progress->cancel();
    });
    canceller.start(10);
    ASSERT_TRUE(SessionActions::openSession(*app, dir.filePath("s.ivra"), true, message));
    canceller.stop();
    const QStringList restored = treeOf(*app);
    EXPECT_GE(restored.size(), 2);
    EXPECT_LT(restored.size(), tree.size());
    EXPECT_EQ(restored, tree.mid(0, restored.size()));
    EXPECT_EQ(message, QString("Cancelled: %1 entries restored.").arg(restored.size()));
}
