#include "platform/qt/qt_file_saver.h"

#include "platform/base/atomic_file.h"
#include "platform/qt/qt_pending_events.h"

namespace morvane {

// A long list is written a piece at a time, the window repainting in
// between.
std::string QtFileSaver::Save(const std::string& path, const std::string& bytes) {
    PendingEvents pending;
    return WriteFileWhole(path, bytes, {.between_pieces = [&] { pending.Handle(); }});
}

}  // namespace morvane
