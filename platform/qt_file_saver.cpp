#include "platform/qt_file_saver.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <csignal>

#include "platform/qt_pending_events.h"

namespace morvane {

std::string QtFileSaver::Save(const std::string& path, const std::string& bytes) {
    // Past the file-size limit a write fails with EFBIG instead of the
    // signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const QString name = QString::fromStdString(path);
    if (name.isEmpty()) return "No file name was given.";
    const bool is_new = !QFileInfo::exists(name);
    QSaveFile file(name);
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write is seen here and not lost in a
    // flush that the commit does not check.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString().toStdString();
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
