// The data file operations on top of the framework's whole-file access.
#include "dictionary/data_file.h"

#include "download/download_offer.h"
#include "framework/window.h"

namespace kavrel {

inline constexpr std::string_view kLoadFailedMessage = "Talep etti\xF0iniz kavrel malesef y\xFCklenemedi !";

namespace {

LoadOutcome OutcomeOf(win::ReadStatus status) {
    switch (status) {
        case win::ReadStatus::kRead: return LoadOutcome::kWhole;
        case win::ReadStatus::kNotFound: return LoadOutcome::kMissing;
        case win::ReadStatus::kLocked: return LoadOutcome::kLocked;
        case win::ReadStatus::kTooLarge: return LoadOutcome::kTooLarge;
        case win::ReadStatus::kOutOfMemory: return LoadOutcome::kOutOfMemory;
        case win::ReadStatus::kFailed: break;
    }
    return LoadOutcome::kUnreadable;
}

}  // namespace

DataFileRead ReadDataFileWithOutcome(const std::string& dataFile, const std::string& direction) {
    win::FileRead read = win::ReadWholeFile(dataFile);
    if (read.status == win::ReadStatus::kRead) return {std::move(read.bytes), LoadOutcome::kWhole};
    download::OfferDownload(dataFile, direction);
    read = win::ReadWholeFile(dataFile);
    if (read.status == win::ReadStatus::kRead) return {std::move(read.bytes), LoadOutcome::kWhole};
    ReportLoadFailure();
    return {{}, OutcomeOf(read.status)};
}

std::string ReadDataFile(const std::string& dataFile, const std::string& direction) {
    return ReadDataFileWithOutcome(dataFile, direction).bytes;
}

void ReportLoadFailure() {
    win::ShowMessageBox(nullptr, kLoadFailedMessage, MB_OK);
}

win::WriteResult WriteDataFile(const std::string& dataFile, std::string_view scrambled) {
    return win::ReplaceFileContents(dataFile, scrambled);
}

}  // namespace kavrel
