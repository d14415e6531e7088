#include "PendingFile.h"

#include "IoError.h"

#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ivra::recipe {

namespace {

// Where the data goes: the file a link names, as far as links lead (QSaveFile's rule).
QString finalTarget(const QString& path)
{
    QFileInfo info(path);
    int depth = 128;
    while (--depth > 0 && info.isSymLink())
        info.setFile(info.symLinkTarget());
    return depth > 0 ? info.filePath() : path;
}

// An unnamed file gets its name through /proc; without /proc only named temporaries work.
bool canNameUnnamedFiles()
{
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

std::string reasonOf(int error) { return std::generic_category().message(error); }

} // namespace

PendingFile::PendingFile(const std::string& path) : path_(path)
{
    const QString target = finalTarget(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    target_ = QFile::encodeName(target);
#if defined(O_TMPFILE)
    if (canNameUnnamedFiles())
        fd_ = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                     0666);
#endif
    for (int tries = 0; fd_ < 0 && tries < 100; ++tries) { // no unnamed files in this folder: a hidden name
        temporary_ = uniqueName();
        fd_ = ::open(temporary_.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        const int error = errno;
        temporary_.clear();
        fail(error);
    }
    file_.open(fd_, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
}

PendingFile::~PendingFile()
{
    file_.close();
    if (fd_ >= 0)
        ::close(fd_);
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
}

void PendingFile::commit()
{
    if (!file_.flush())
        throw IoError(path_ + ": cannot write: " + file_.errorString().toStdString());
    file_.close();
    struct stat existing {};
    if (::stat(target_.constData(), &existing) == 0 && ::fchmod(fd_, existing.st_mode & 07777) != 0)
        fail(errno);
    if (temporary_.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target_.constData(), AT_SYMLINK_FOLLOW) == 0) {
            ::close(std::exchange(fd_, -1));
            return;
        }
        // The path is taken: a name of its own first, then the rename over it.
        int error = errno;
        for (int tries = 0; error == EEXIST && tries < 100; ++tries) {
            const QByteArray name = uniqueName();
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
                temporary_ = name;
                break;
            }
            error = errno;
        }
        if (temporary_.isEmpty())
            fail(error);
    }
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        fail(errno);
    temporary_.clear();
    ::close(std::exchange(fd_, -1));
}

void PendingFile::fail(int error) const { throw IoError(path_ + ": cannot write: " + reasonOf(error)); }

QByteArray PendingFile::uniqueName() const
{
    static std::atomic<unsigned> serial{0};
    const QFileInfo info(QFile::decodeName(target_));
    return QFile::encodeName(info.absolutePath() + "/." + info.fileName()) + '.' + QByteArray::number(::getpid()) +
           '.' + QByteArray::number(serial++) + ".part";
}

} // namespace ivra::recipe
