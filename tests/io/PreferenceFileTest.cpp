#include "PreferenceFile.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ivra;

namespace {

QString parse(const QByteArray& text)
{
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ivra::readStartLocation(buffer);
}

} // namespace

TEST(PreferenceFile, PathLineGivesTheTextAfterTheFirstEquals)
{
    EXPECT_EQ(parse("PATH=/pictures\n"), "/pictures");
    EXPECT_EQ(parse("PATH=/pictures"), "/pictures"); // no final line end
    EXPECT_EQ(parse("MYPATH = /a=b \n"), " /a=b "); // no trimming
    EXPECT_EQ(parse("PATH\n"), "PATH"); // no "=": the whole line
    EXPECT_EQ(parse("PATH=/dos\r\n"), "/dos");
}

TEST(PreferenceFile, OtherLinesAreIgnoredAndTheLastPathWins)
{
    EXPECT_EQ(parse("path=/lower\nSIZE=3\n"), "");
    EXPECT_EQ(parse("PATH=/first\nother=1\nPATH=/second\nx=y\n"), "/second");
    EXPECT_EQ(parse("PATH=/first\nPATH=\n"), "");
    EXPECT_EQ(parse(""), "");
}

TEST(PreferenceFile, MissingFileGivesAnEmptyLocation)
{
    QTemporaryDir dir;
    EXPECT_EQ(ivra::readStartLocation(dir.filePath("ivra.preference")), "");
    QFile file(dir.filePath("ivra.preference"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# start here\nPATH=/data/pictures\n");
    file.close();
    EXPECT_EQ(ivra::readStartLocation(dir.filePath("ivra.preference")), "/data/pictures");
}
