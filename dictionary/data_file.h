// Reading and writing a direction's data file as whole texts (still scrambled).
#pragma once

#include <string>
#include <string_view>

namespace kavrel {

// The data file's bytes, read with exclusive access. When it cannot be read, one more
// try follows; when that fails too the user is told, on the calling thread, and the text
// is empty. direction is the display name of the direction the file belongs to.
std::string ReadDataFile(const std::string& dataFile, const std::string& direction);

// Tells the user, on the calling thread, that the dictionary could not be loaded.
void ReportLoadFailure();

// Replaces the data file's contents with scrambled; false when nothing was written (the
// old file then stays exactly as it was).
bool WriteDataFile(const std::string& dataFile, std::string_view scrambled);

}  // namespace kavrel
