#include "platform/qt/qt_file_saver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <csignal>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/qt/qt_pending_events.h"

namespace morvane {
namespace {

// The temporary files of a save are named after the file they will replace,
// hidden beside it: ".Passwords.txt.morvane-" and six random characters.
QString TemporaryStem(const QFileInfo& final_file) { return "." + final_file.fileName() + ".morvane-"; }

// What an interrupted save of the same file left behind: only files of
// this user that bear the temporary name exactly.
void RemoveLeftovers(const QFileInfo& final_file) {
    const QDir folder = final_file.absoluteDir();
    const QString stem = TemporaryStem(final_file);
    for (const QFileInfo& entry : folder.entryInfoList({stem + "??????"}, QDir::Files | QDir::Hidden | QDir::System)) {
        struct stat st {};
        const QByteArray name = QFile::encodeName(entry.absoluteFilePath());
        if (::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlink(name.constData());
    }
}

std::string FolderProblem(const QFileInfo& final_file) {
    const QString folder = final_file.absolutePath();
    if (QFileInfo(folder).isDir() && ::access(QFile::encodeName(folder).constData(), W_OK) != 0)
        return "the folder " + folder.toStdString() + " cannot be written, so nothing was changed.";
    return {};
}

}  // namespace

std::string QtFileSaver::Save(const std::string& path, const std::string& bytes) {
    // Past the file-size limit a write fails with EFBIG instead of the
    // signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const QString name = QString::fromStdString(path);
    if (name.isEmpty()) return "No file name was given.";
    // Only a regular file is replaced: a pipe, a device or a folder in its
    // place (or behind a link) stays as it is.
    const QFileInfo target(name);
    const bool is_new = !target.exists();
    if (!is_new && !target.isFile())
        return kNotARegularFile;
    // A link is followed: the file it points to is replaced, the link stays.
    const QFileInfo final_file(is_new ? target.absoluteFilePath() : target.canonicalFilePath());
    RemoveLeftovers(final_file);
    // The new list goes into a temporary file beside the old one, which it
    // replaces only once complete. Never written in place: a full disk or an
    // interruption would leave the old file damaged. The temporary file is
    // readable by its owner alone from the moment it exists, whether or not
    // the file system can make it unnamed first.
    QTemporaryFile file(final_file.absolutePath() + "/" + TemporaryStem(final_file) + "XXXXXX");
    if (!file.open()) {
        if (std::string problem = FolderProblem(final_file); !problem.empty()) return problem;
        return file.errorString().toStdString();
    }
    // Written straight to the file, so that a failed write names its
    // reason; on any failure the temporary file goes with `file`.
    // A long list is written a piece at a time, the window repainting
    // in between.
    constexpr size_t kPiece = 1 << 20;
    PendingEvents pending;
    for (size_t done = 0; done < bytes.size();) {
        pending.Handle();
        const ssize_t n = ::write(file.handle(), bytes.data() + done, std::min(kPiece, bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::strerror(n < 0 ? errno : EIO);
        done += static_cast<size_t>(n);
    }
    pending.Handle();
    if (::fsync(file.handle()) != 0) return std::strerror(errno);
    // A replaced file keeps its permissions; a new one stays private.
    if (!is_new && !file.setPermissions(final_file.permissions())) return file.errorString().toStdString();
    const QString written = file.fileName();
    file.setAutoRemove(false);
    file.close();
    if (std::rename(QFile::encodeName(written).constData(), QFile::encodeName(final_file.absoluteFilePath()).constData()) != 0) {
        std::string reason = std::strerror(errno);
        QFile::remove(written);
        return reason;
    }
    return {};
}

}  // namespace morvane
