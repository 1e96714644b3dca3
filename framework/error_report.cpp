// Reporting exceptions caught at the program's entry points.
#include "framework/error_report.h"

#include <exception>
#include <new>

#include "framework/window.h"

namespace kavrel::win {

std::string DescribeCaughtException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory.";
    } catch (const std::exception& error) {
        const std::string what = error.what();
        return what.empty() ? "An unexpected error occurred." : what;
    } catch (...) {
        return "An unexpected error occurred.";
    }
}

void ReportCaughtException(HWND owner) noexcept {
    thread_local bool reporting = false;
    if (reporting) return;
    reporting = true;
    try {
        ShowMessageBox(owner, DescribeCaughtException(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Too little memory even to tell: the program goes on as it can.
    }
    reporting = false;
}

}  // namespace kavrel::win
