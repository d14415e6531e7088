#pragma once

#include <QByteArray>
#include <QFile>

#include <string>

namespace ivra::recipe {

// A file written in full before it replaces the one at its path: the data goes to a
// temporary file in the same folder (an unnamed one where the system offers it, so
// that a killed run leaves nothing behind), and commit() renames it into place. A
// reader sees the former file or the whole new one; a file destroyed uncommitted
// leaves no trace. A link at the path is followed and the file it names replaced;
// a replaced file keeps its permissions, a new one gets those the umask allows.
//
// Unlike QSaveFile it does not force the data to the disk before the rename: that
// wait was most of a batch's writing time, and the rename alone makes the
// replacement atomic for every other program.
class PendingFile {
public:
    // Makes the temporary file; throws IoError ("PATH: cannot write: REASON") when
    // the folder does not take it.
    explicit PendingFile(const std::string& path);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    QIODevice& device() { return file_; }
    // Puts the file in place; throws IoError when the data cannot be written.
    void commit();

private:
    [[noreturn]] void fail(int error) const;
    QByteArray uniqueName() const;

    std::string path_;     // as given, for messages
    QByteArray target_;    // links followed
    QByteArray temporary_; // the temporary's name; empty while it has none
    int fd_ = -1;
    QFile file_;
};

} // namespace ivra::recipe
