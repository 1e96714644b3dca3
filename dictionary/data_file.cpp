// The data file operations on top of the framework's whole-file access.
#include "dictionary/data_file.h"

#include <optional>

#include "download/download_offer.h"
#include "framework/file.h"
#include "framework/window.h"

namespace kavrel {

inline constexpr std::string_view kLoadFailedMessage = "Talep etti\xF0iniz kavrel malesef y\xFCklenemedi !";

std::string ReadDataFile(const std::string& dataFile, const std::string& direction) {
    if (std::optional<std::string> bytes = win::ReadWholeFileExclusive(dataFile)) return std::move(*bytes);
    download::OfferDownload(dataFile, direction);
    if (std::optional<std::string> bytes = win::ReadWholeFileExclusive(dataFile)) return std::move(*bytes);
    ReportLoadFailure();
    return {};
}

void ReportLoadFailure() {
    win::ShowMessageBox(nullptr, kLoadFailedMessage, MB_OK);
}

bool WriteDataFile(const std::string& dataFile, std::string_view scrambled) {
    return win::ReplaceFileContents(dataFile, scrambled).ok;
}

}  // namespace kavrel
