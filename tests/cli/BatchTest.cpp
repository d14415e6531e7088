// Several inputs in one ivra-cli run: output patterns, jobs, progress and JSON
// lines, failing inputs and output names that collide.
#include "CliTestSupport.h"

#include <QDir>
#include <QRegularExpression>

#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

using namespace ivra;

namespace {

// Runs ivra-cli with standard error on a pseudo-terminal: what the terminal got, and the exit status.
std::pair<QByteArray, int> runOnTerminal(const QStringList& args)
{
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return {"openpty failed", -1};
    std::vector<QByteArray> words{IVRA_CLI_PATH};
    words.reserve(args.size() + 1); // the pointers in argv stay valid
    std::vector<char*> argv{words[0].data()};
    for (const QString& a : args)
        argv.push_back(words.emplace_back(QFile::encodeName(a)).data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, slave, STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, IVRA_CLI_PATH, &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(slave);
    QByteArray shown;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = ::read(master, buffer, sizeof buffer)) > 0;) // EIO once the child is gone
        shown.append(buffer, n);
    ::close(master);
    int status = -1;
    if (spawned == 0)
        ::waitpid(pid, &status, 0);
    return {shown, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

class BatchTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
        for (int i = 0; i < 3; ++i)
            writeRgb(names[i], 11 + i, 6, [i](int x, int y) { return qRgb(23 * x + i, 40 * y, 7 * x * y + 50 * i); });
    }
    QStringList inputs() const { return {path(names[0]), path(names[1]), path(names[2])}; }
    QStringList files() const { return QDir(dir.path() + "/out").entryList(QDir::Files | QDir::Hidden); }

    const QString names[3] = {"a.ppm", "sub/b.png", "c.x.ppm"};
    const QStringList steps{"gauss", "snn", "csc:threshold=20"};
};

} // namespace

TEST_F(BatchTest, JobsGiveTheFilesOfSingleRunsInInputOrder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    const QString pattern = path("out/{stem}.npy");
    const clitest::CliRun r = run(inputs() + steps + QStringList{"-o", pattern, "--labels", "{dir}/{stem}.l.npy",
                                                                  "--jobs", "2", "--json"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const char* stems[] = {"a", "b", "c.x"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(stems[i]);
        EXPECT_EQ(QJsonDocument::fromJson(lines[i]).object()["input"].toString(), inputs()[i]);
        // The input first, the time split last.
        EXPECT_TRUE(lines[i].startsWith("{\"input\": ") && lines[i].contains(", \"load_ms\": ") &&
                    lines[i].endsWith("}") && lines[i].contains(", \"save_ms\": "))
            << lines[i].toStdString();
        const QString single = path(QString("single%1.npy").arg(i));
        ASSERT_EQ(run(QStringList{inputs()[i]} + steps + QStringList{"-o", single, "--labels", path("l.npy")}).status,
                  0);
        EXPECT_EQ(fileBytes(QString("out/%1.npy").arg(stems[i])), fileBytes(single.section('/', -1)));
        const QString labels = QFileInfo(inputs()[i]).path() + QString("/%1.l.npy").arg(stems[i]);
        EXPECT_EQ(fileBytes(QDir(dir.path()).relativeFilePath(labels)), fileBytes("l.npy"));
    }
    // One progress line per finished input: [k/n] INPUT -> OUTPUT  T ms.
    const QList<QByteArray> progress = r.err.trimmed().split('\n');
    ASSERT_EQ(progress.size(), 3) << r.err.toStdString();
    EXPECT_TRUE(progress[2].startsWith("[3/3] ")) << progress[2].toStdString();
    EXPECT_TRUE(progress[2].contains(" -> " + path("out/").toUtf8()));
    EXPECT_TRUE(progress[2].endsWith(" ms"));
}

TEST_F(BatchTest, AFailingInputIsReportedAndTheOthersAreWritten)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    writeFile("broken.png", "\x89PNG\r\n\x1a\nnot the rest");
    // An unreadable input, and one whose output folder ({dir}/out) does not exist.
    const clitest::CliRun r = run({path("a.ppm"), path("broken.png"), path("sub/b.png"), path("c.x.ppm"), "-o",
                                   "{dir}/out/{stem}.png", "--json", "--jobs", "3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(files(), (QStringList{"a.png", "c.x.png"}));
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);
    for (const int failed : {1, 2})
        EXPECT_TRUE(QJsonDocument::fromJson(lines[failed]).object().contains("error")) << lines[failed].toStdString();
    EXPECT_TRUE(QJsonDocument::fromJson(lines[1]).object()["input"].toString().endsWith("broken.png"));
    EXPECT_EQ(r.err.count("broken.png"), 1) << r.err.toStdString();
    EXPECT_EQ(r.err.count("sub/b.png"), 1) << r.err.toStdString();
}

TEST_F(BatchTest, OutputNamesThatCollideAreRefusedBeforeAnyWork)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    ASSERT_TRUE(QFile::copy(path("a.ppm"), path("sub/a.ppm")));
    const QStringList colliding[] = {
        {path("a.ppm"), path("c.x.ppm"), "-o", path("out/result.npy")},
        {path("a.ppm"), path("c.x.ppm"), "-o", path("out/{stem}.npy"), "--labels", path("out/l.npy")},
        {path("a.ppm"), path("sub/a.ppm"), "-o", path("out/{stem}.npy")},
        {path("a.ppm"), path("c.x.ppm"), path("a.ppm"), "-o", path("out/{stem}.npy")},
    };
    for (const QStringList& args : colliding) {
        expectRefused(args, "out");
        EXPECT_TRUE(files().isEmpty());
    }
    expectRefused({path("a.ppm"), path("b.ppm"), "--jobs", "0", "-o", path("out/{stem}.npy")}, "--jobs");
}

TEST_F(BatchTest, OnATerminalProgressIsOneLineRewrittenInPlace)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    writeFile("broken.png", "\x89PNG\r\n\x1a\nnot the rest");
    const auto [shown, status] = runOnTerminal(
        {path("a.ppm"), path("broken.png"), path("c.x.ppm"), "-o", path("out/{stem}.png"), "--jobs", "1"});
    EXPECT_EQ(status, 1);
    // Each finished or failed input rewrites the line: count, rate and time left;
    // a failure is a line of its own above it; the last update ends the line.
    const QByteArray update = "\r\x1b[K[";
    EXPECT_EQ(shown.count(update), 3) << shown.toStdString();
    EXPECT_TRUE(shown.contains(update + "1/3] ") && shown.contains("\r\x1b[Kivra-cli: " + path("broken.png").toUtf8()));
    const QRegularExpression last(R"(\r\x1b\[K\[3/3\] [0-9]+\.[0-9] pictures/s, 0 s left\r\n$)");
    EXPECT_TRUE(last.match(QString::fromUtf8(shown)).hasMatch()) << shown.toStdString();
    EXPECT_FALSE(shown.contains(" -> ")) << shown.toStdString();
    EXPECT_EQ(files(), (QStringList{"a.png", "c.x.png"}));
}
