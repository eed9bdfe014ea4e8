#include "platform/contracts/error_report.h"

#include <new>

namespace morvane {

std::string ErrorReportText(const RuntimeError& e) {
    return e.Description() + "\r\n" + std::to_string(e.Number()) + "\r\n" + e.Source();
}

RuntimeError CurrentFailure(std::exception_ptr p) {
    try {
        std::rethrow_exception(p);
    } catch (const RuntimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RuntimeError(kErrOutOfMemory, "Out of memory");
    } catch (const std::length_error&) {
        return RuntimeError(kErrOutOfMemory, "Out of memory");
    } catch (const std::exception& e) {
        return RuntimeError(kErrInvalidCall, e.what());
    } catch (...) {
        return RuntimeError(kErrInvalidCall, "Unknown failure");
    }
}

void ShowErrorReport(MessageBoxService& box, const std::string& title, const RuntimeError& e) {
    box.Show(ErrorReportText(e), kOkOnly, title);
}

}  // namespace morvane
