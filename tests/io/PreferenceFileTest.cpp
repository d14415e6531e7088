#include "IoTestSupport.h"
#include "PreferenceFile.h"

// The last line holding "PATH" gives the text after its first "="; a missing file nothing.
TEST(PreferenceFile, TheLastPathLineGivesTheStartLocation)
{
    const std::pair<const char*, const char*> rows[] = {
        {"PATH=/pictures\n", "/pictures"},
        {"PATH=/pictures", "/pictures"}, // no final line end
        {"MYPATH = /a=b \n", " /a=b "}, // no trimming
        {"PATH\n", "PATH"},              // no "=": the whole line
        {"PATH=/dos\r\n", "/dos"},
        {"path=/lower\nSIZE=3\n", ""}, // upper case only
        {"# start here\nPATH=/first\nother=1\nPATH=/second\nx=y\n", "/second"},
        {"PATH=/first\nPATH=\n", ""},
        {"", ""},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(preferenceFileName));
    EXPECT_EQ(readStartLocation(path), "");
    for (const auto& [text, location] : rows) {
        writeFile(path, text);
        EXPECT_EQ(readStartLocation(path), QString::fromLatin1(location)) << text;
    }
}

// The last valid "THREADS=N" line gives the thread count; none gives 0.
TEST(PreferenceFile, TheLastValidThreadsLineGivesTheThreadCount)
{
    const std::pair<const char*, int> rows[] = {
        {"THREADS=3\n", 3}, {"PATH=/x\nTHREADS=2\r\nTHREADS=5", 5}, {"THREADS=4\nTHREADS=0\nTHREADS=x\n", 4},
        {" THREADS=2\nthreads=2\n", 0}, {"", 0},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(preferenceFileName));
    EXPECT_EQ(readThreadCount(path), 0);
    for (const auto& [text, threads] : rows) {
        writeFile(path, text);
        EXPECT_EQ(readThreadCount(path), threads) << text;
    }
}
