// Output files written whole and renamed into place, in the test's own temporary directory.
#include "IoTestSupport.h"

#include "recipe/PendingFile.h"

#include <sys/stat.h>

using ivra::recipe::PendingFile;

TEST(PendingFile, AppearsWholeAtCommitWithThePermissionsOfWhatItReplaces)
{
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    const auto modeOf = [](const QString& file) {
        struct stat st {};
        return ::stat(QFile::encodeName(file).constData(), &st) == 0 ? st.st_mode & 07777 : 0u;
    };
    writeFile(path("kept.bin"), "former");
    ASSERT_EQ(::chmod(QFile::encodeName(path("kept.bin")).constData(), 0604), 0);
    const mode_t umask = ::umask(002);
    {
        PendingFile fresh(path("fresh.bin").toStdString()), kept(path("kept.bin").toStdString()),
            dropped(path("dropped.bin").toStdString());
        for (PendingFile* file : {&fresh, &kept, &dropped})
            file->device().write("new");
        fresh.commit();
        EXPECT_EQ(contents(path("kept.bin")), "former");
        kept.commit();
    }
    ::umask(umask);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"fresh.bin", "kept.bin"}));
    EXPECT_EQ(contents(path("fresh.bin")), "new");
    EXPECT_EQ(contents(path("kept.bin")), "new");
    EXPECT_EQ(modeOf(path("fresh.bin")), 0664u);
    EXPECT_EQ(modeOf(path("kept.bin")), 0604u);

    // A link is followed: the file it names is replaced and the link stays.
    ASSERT_TRUE(QFile::link(path("kept.bin"), path("link.bin")));
    {
        PendingFile through(path("link.bin").toStdString());
        through.device().write("through");
        through.commit();
    }
    EXPECT_TRUE(QFileInfo(path("link.bin")).isSymLink());
    EXPECT_EQ(contents(path("kept.bin")), "through");
    EXPECT_TRUE(refusedWith([&] { PendingFile(path("no/dir/x.bin").toStdString()); }, "x.bin: cannot write: No such"));
}
