// The offer window and its download.
#include "download/download_offer.h"

#include "download/download_address.h"
#include "download/retrieve_file.h"
#include "framework/output_file.h"
#include "framework/text.h"
#include "framework/window.h"
#include "resources/resource.h"

namespace kavrel::download {
namespace {

constexpr size_t kMaxMessageChars = 1024;
constexpr std::string_view kCancelCaption = "\xDDPTAL";
// The maker's telephone number and signature: placeholders until there is a maker.
constexpr std::string_view kTelephone = "[telefon numaras\xFD]";
constexpr std::string_view kSignature = "[imza]";

std::string OfferText(const std::string& direction) {
    constexpr std::string_view kEnd = "\r\n";
    std::string text = "Say\xFDn Kullan\xFD" "c\xFD,\r\n\r\n";
    text.append("talep etti\xF0iniz '").append(direction).append("' kavrel\xFC \xFEu an bilgisayar\xFDn\xFDzda mevcut de\xF0il.").append(kEnd);
    text.append("Internet'e ba\xF0l\xFD oldu\xF0unuzdan emin olun. Bu formu onaylarsan\xFDz talep etti\xF0iniz").append(kEnd);
    text.append("kavrel bir kereye mahsus bilgisayar\xFDn\xFDza otomatik olarak internet \xFCzerinden").append(kEnd);
    text.append("y\xFCklenecektir.").append(kEnd);
    text.append("Y\xFCklemede zorluk \xE7" "ekiyorsan\xFDz ").append(kTelephone).append(" no. lu telefondan program\xFDn").append(kEnd);
    text.append("4 kavrel\xFCn\xFC i\xE7" "eren (\xDDngilizce <-> T\xFCrk\xE7" "e, Almanca <-> T\xFCrk\xE7" "e, Frans\xFDzca <->").append(kEnd);
    text.append("T\xFCrk\xE7" "e, \xDDtalyanca <-> T\xFCrk\xE7" "e) bir CD-Rom kopyas\xFDn\xFD temin edebilirsiniz.").append(kEnd).append(kEnd);
    text.append("Sayg\xFDlar\xFDm\xFDzla").append(kEnd);
    text.append(kSignature).append(kEnd);
    return text;
}

// The host from KAVREL_DOWNLOAD_HOST, when it names one.
std::string HostSetting() {
    wchar_t value[512];
    const DWORD length = GetEnvironmentVariableW(L"KAVREL_DOWNLOAD_HOST", value, 512);
    return length > 0 && length < 512 ? win::Narrow(std::wstring_view(value, length)) : std::string();
}

}  // namespace

CDownloadOfferDlg::CDownloadOfferDlg() : Dialog(IDD_DOWNLOAD_OFFER) {}

INT_PTR CDownloadOfferDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDC_DOWNLOAD:
                OnDownload();
                return TRUE;
            case IDC_CANCEL_DOWNLOAD:
                OnCancelDownload();
                return TRUE;
            default:
                break;
        }
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

void CDownloadOfferDlg::DoDataExchange(win::DataExchange& dx) {
    dx.Text(IDC_WORD, m_strMessage, kMaxMessageChars);
}

BOOL CDownloadOfferDlg::OnInitDialog() {
    Dialog::OnInitDialog();
    m_strMessage = OfferText(m_strDirection);
    UpdateData(false);
    win::SetText(Item(IDC_CANCEL_DOWNLOAD), kCancelCaption);
    SetFocus(Item(IDC_DOWNLOAD));
    return FALSE;  // the focus is set
}

// Downloads into the temporary file and renames it to the data file's name. A failure
// of the file layer (or a session that cannot be opened) is shown, and the offer stays.
void CDownloadOfferDlg::OnDownload() {
    if (m_bDownloading) return;
    m_bDownloading = true;
    try {
        const std::string address = DownloadAddress(DownloadHost(HostSetting()), m_strDataFile);
        if (RetrieveFile(Hwnd(), address, kTemporaryFile)) win::RenameFile(kTemporaryFile, m_strDataFile);
        m_bDownloading = false;
        EndDialog(0);
    } catch (const win::FileException& e) {
        m_bDownloading = false;
        ShowFailure(e.what());
    } catch (const win::CInternetException& e) {
        m_bDownloading = false;
        ShowFailure("Error: (" + std::to_string(e.m_dwError) + ") " + e.ErrorText());
    }
}

void CDownloadOfferDlg::OnCancelDownload() {
    if (!m_bDownloading) EndDialog(0);
}

void CDownloadOfferDlg::ShowFailure(const std::string& text) {
    win::ShowMessageBox(Hwnd(), text, MB_OK | MB_ICONSTOP);
}

void OfferDownload(const std::string& dataFile, const std::string& direction) {
    CDownloadOfferDlg offer;
    offer.m_strDataFile = dataFile;
    offer.m_strDirection = direction;
    offer.DoModal(nullptr);
}

}  // namespace kavrel::download
