// Reading and writing a direction's data file as whole texts (still scrambled).
#pragma once

#include <string>
#include <string_view>

#include "framework/file.h"

namespace kavrel {

// How the last load of a data file ended. Only a file read whole may be replaced by a
// save; a file that did not exist at all may be created by one.
enum class LoadOutcome {
    kWhole,        // every byte read and filed
    kMissing,      // no such file, even after the download offer
    kLocked,       // held open by another program
    kUnreadable,   // could not be opened or read for another reason
    kTooLarge,     // larger than the program can hold
    kOutOfMemory,  // memory ran out while reading or filing it
    kCancelled,    // the load was stopped before its end
};

// Whether a save may write the data file after a load that ended so.
inline bool SaveAllowedAfter(LoadOutcome outcome) {
    return outcome == LoadOutcome::kWhole || outcome == LoadOutcome::kMissing;
}

struct DataFileRead {
    std::string bytes;  // the file's bytes, still scrambled; empty unless kWhole
    LoadOutcome outcome = LoadOutcome::kUnreadable;
};

// The data file's bytes, read with exclusive access. When it cannot be read, the download
// offer is shown and one more try follows; when that fails too the user is told, on the
// calling thread, and the text is empty. direction is the display name of the direction
// the file belongs to.
DataFileRead ReadDataFileWithOutcome(const std::string& dataFile, const std::string& direction);
// The same when only the bytes matter.
std::string ReadDataFile(const std::string& dataFile, const std::string& direction);

// Tells the user, on the calling thread, that the dictionary could not be loaded.
void ReportLoadFailure();

// Replaces the data file's contents with scrambled; on failure nothing was written, the old
// file stays exactly as it was, and the result carries the system error.
win::WriteResult WriteDataFile(const std::string& dataFile, std::string_view scrambled);

}  // namespace kavrel
