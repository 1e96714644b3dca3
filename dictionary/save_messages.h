// What the user is told, in Turkish, when a change to the dictionary cannot be written to
// its data file. Each message names the file and the reason.
#pragma once

#include <windows.h>

#include <string>

#include "dictionary/data_file.h"

namespace kavrel {

// The save was tried and failed with the system error (the file is as it was).
std::string SaveFailedMessage(const std::string& dataFile, DWORD error);

// The save was not tried: the last load did not read the file whole, so writing the table
// would replace a dictionary the program never had. An empty dataFile means the direction
// has no data file.
std::string SaveRefusedMessage(const std::string& dataFile, LoadOutcome lastLoad);

}  // namespace kavrel
