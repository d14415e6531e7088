// Named pipes and links made in the test's own temporary directory: what the
// readers take from them and what the writers refuse to replace.
#include "ChildProcess.h"
#include "IoTestSupport.h"
#include "Npy.h"
#include "PictureWriter.h"
#include "PreferenceFile.h"

#include <sys/stat.h>

namespace {

QString makeFifo(const QTemporaryDir& dir, const char* name)
{
    const QString path = dir.filePath(QLatin1String(name));
    EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    return path;
}

std::string throughPipe(const QString& fifo, const QByteArray& bytes, const std::function<std::string()>& read)
{
    const pid_t writer = feedPipe(QFile::encodeName(fifo).toStdString(), bytes.toStdString());
    const std::string outcome = inChild(read, 64 << 20);
    ::waitpid(writer, nullptr, 0);
    return outcome;
}

} // namespace

// A .npy file from a pipe is read as it arrives: a header announcing 10 GB with a
// few bytes behind it is refused as short, in a child that could not hold 10 GB.
TEST(Pipes, NpyFromAPipeIsReadInChunksAndShortDataIsRefused)
{
    QTemporaryDir dir;
    const QString fifo = makeFifo(dir, "in.npy");
    const auto read = [&] {
        std::string values;
        for (const int v : valuesOf(*readNpyImage(fifo, NpyColor::Rgb)))
            values += std::to_string(v) + " ";
        return values;
    };
    const QByteArray gray = encodeNpyHeader(NpyType::Int32, {1, 2}) + QByteArray("\x05\0\0\0\x07\0\0\0", 8);
    EXPECT_EQ(throughPipe(fifo, gray, read), "5 7 ");
    const QByteArray huge = encodeNpyHeader(NpyType::Int32, {3, 30000, 30000}) + QByteArray(100, '\0');
    EXPECT_EQ(throughPipe(fifo, huge, read), "threw: " + fifo.toStdString() +
                                                 ": truncated .npy data: the header announces 10800000000 bytes, "
                                                 "100 arrived");
}

// Only the first 64 KiB of the preference file count; a line cut there is dropped.
TEST(Pipes, ThePreferenceFileIsReadUpToItsLimit)
{
    QTemporaryDir dir;
    const QByteArray first = "MAX_PIXELS=123\nPATH=/first\n";
    const QByteArray edge = "PATH=/edge\n";
    const QByteArray filler = QByteArray(kPreferenceFileLimit - first.size() - edge.size() - 1, 'x') + '\n';
    const std::pair<QByteArray, const char*> rows[] = {
        {first + filler + edge, "/edge"},
        {first + filler + edge + "PATH=/beyond\n", "/edge"},
        {first + filler + "PATH=/edge-cut\n", "/first"},
    };
    const QString path = dir.filePath("ivra.preference");
    for (const auto& [text, location] : rows) {
        writeFile(path, text);
        EXPECT_EQ(readPreferences(path).startLocation, location);
        EXPECT_EQ(readPreferences(path).maxPixels, 123);
    }
    writeFile(path, "MAX_PIXELS=lots\n");
    EXPECT_EQ(readPreferences(path).maxPixels, 0);
    // An endless pipe, and a pipe nobody writes to: neither stalls the start.
    const QString fifo = makeFifo(dir, "endless.preference");
    const auto location = [&] { return readStartLocation(fifo).toStdString(); };
    const pid_t endless = feedPipe(QFile::encodeName(fifo).toStdString(), "PATH=/pipe\n", true);
    const int held = ::open(QFile::encodeName(fifo).constData(), O_RDWR); // a writer is there before the reader
    EXPECT_EQ(inChild(location), "/pipe");
    ::close(held);
    ::kill(endless, SIGKILL);
    ::waitpid(endless, nullptr, 0);
    EXPECT_EQ(inChild(location), "");
}

// Both writers refuse a target that is no regular file, directly or through a
// link, and leave it as it was.
TEST(Pipes, WritersRefuseTargetsThatAreNoRegularFile)
{
    QTemporaryDir dir;
    const QString fifo = makeFifo(dir, "pipe.png");
    ASSERT_TRUE(QFile::link(fifo, dir.filePath("link.npy")));
    const ImageGray image(1, 1);
    for (const QString& target : {fifo, dir.filePath("link.npy")}) {
        const auto write = [&] { target.endsWith("npy") ? writeNpy(image, target) : writePicture(image, target); };
        EXPECT_TRUE(refusedWith(write, "not a regular file")) << target.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
