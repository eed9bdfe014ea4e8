#include "platform/qt_file_saver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <csignal>
#include <unistd.h>

#include "platform/qt_pending_events.h"

namespace morvane {

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
        return "it is not a regular file, so nothing was written and it was left as it was.";
    QSaveFile file(name);
    // The new list goes into a temporary file beside the old one, which it
    // replaces only once complete. Never written in place: a full disk or an
    // interruption would leave the old file damaged.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a short write is seen here and not lost in a
    // flush that the commit does not check.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QString folder = QFileInfo(target.canonicalFilePath().isEmpty() ? target.absoluteFilePath()
                                                                              : target.canonicalFilePath())
                                   .absolutePath();
        if (QFileInfo(folder).isDir() && ::access(QFile::encodeName(folder).constData(), W_OK) != 0)
            return "the folder " + folder.toStdString() + " cannot be written, so nothing was changed.";
        return file.errorString().toStdString();
    }
    if (is_new && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        return reason;
    }
    const auto size = static_cast<qint64>(bytes.size());
    // A long list is written a piece at a time, the window repainting
    // in between.
    constexpr qint64 kPiece = 1 << 20;
    PendingEvents pending;
    for (qint64 done = 0; done < size;) {
        pending.Handle();
        const qint64 n = file.write(bytes.data() + done, std::min(kPiece, size - done));
        if (n <= 0) {  // a short write is retried once more, which then names the reason
            std::string reason = file.errorString().toStdString();
            file.cancelWriting();
            return reason;
        }
        done += n;
    }
    pending.Handle();
    if (!file.commit()) return file.errorString().toStdString();
    return {};
}

}  // namespace morvane
