// The offer to download a dictionary that is missing from the working directory.
#pragma once

#include <string>

namespace kavrel::download {

// Shows the offer for dataFile (the direction's display name is direction) modally on the
// calling thread, with no owner window, and fetches the file when the user accepts. The
// caller decides by opening the file again whether it arrived.
void OfferDownload(const std::string& dataFile, const std::string& direction);

}  // namespace kavrel::download
