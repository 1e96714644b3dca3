// The offer to download a dictionary that is missing from the working directory.
#pragma once

#include <string>

#include "framework/dialog.h"

namespace kavrel::download {

// The temporary file a download goes into before it is renamed to the data file's name.
inline constexpr char kTemporaryFile[] = "kavrel.tmp";

// The offer window: its text names the direction; "YÜKLE" downloads the data file into
// the working directory, "İPTAL" (and Escape, the close box) ends it without a request.
class CDownloadOfferDlg : public win::Dialog {
public:
    CDownloadOfferDlg();

    std::string m_strMessage;
    std::string m_strDataFile;   // set by the caller: the file to fetch, "kavrel.003"
    std::string m_strDirection;  // set by the caller: the direction's display name

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(win::DataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    void OnDownload();
    void OnCancelDownload();
    void ShowFailure(const std::string& text);

    bool m_bDownloading = false;  // a nested click (from the password dialog's loop) waits
};

// Shows the offer for dataFile (the direction's display name is direction) modally on the
// calling thread, with no owner window, and fetches the file when the user accepts. The
// caller decides by opening the file again whether it arrived.
void OfferDownload(const std::string& dataFile, const std::string& direction);

}  // namespace kavrel::download
