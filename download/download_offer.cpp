// The offer window and its download.
#include "download/download_offer.h"

namespace kavrel::download {

void OfferDownload(const std::string&, const std::string&) {
    // The offer window comes with the download; until then the caller only retries.
}

}  // namespace kavrel::download
