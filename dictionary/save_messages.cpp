// The texts of the save's failure messages, Windows-1254 bytes.
#include "dictionary/save_messages.h"

#include <string_view>

namespace kavrel {
namespace {

// "Değişiklik dosyaya saklanamadı." / "... saklanmadı."
constexpr std::string_view kNotSaved = "De\xF0i\xFEiklik dosyaya saklanamad\xFD.";
constexpr std::string_view kNotWritten = "De\xF0i\xFEiklik dosyaya saklanmad\xFD.";
// "Değişiklik bellekte duruyor; sonraki bir değişiklikte dosyaya yeniden yazılmaya çalışılacak."
constexpr std::string_view kKeptForLater =
    "De\xF0i\xFEiklik bellekte duruyor; sonraki bir de\xF0i\xFEiklikte dosyaya yeniden yaz\xFDlmaya "
    "\xE7" "al\xFD\xFE\xFDlacak.";
// "Sözlük son yüklemede tam okunamadığı için dosyanın üzerine yazılmadı. Değişiklik yalnızca
// bellekte duruyor."
constexpr std::string_view kKeptInMemory =
    "S\xF6zl\xFCk son y\xFCklemede tam okunamad\xFD\xF0\xFD i\xE7in dosyan\xFDn \xFCzerine yaz\xFDlmad\xFD. "
    "De\xF0i\xFEiklik yaln\xFDzca bellekte duruyor.";

std::string WriteErrorReason(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return "Dosya ba\xFEka bir program taraf\xFDndan kullan\xFDl\xFDyor.";
        case ERROR_ACCESS_DENIED:
            return "Dosyaya ya da klas\xF6r\xFCne yazma izni yok.";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "Diskte yer kalmad\xFD.";
        case ERROR_WRITE_PROTECT:
            return "Disk yazmaya kar\xFE\xFD korumal\xFD.";
        case ERROR_PATH_NOT_FOUND:
            return "Klas\xF6r bulunamad\xFD.";
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return "Bellek yetmedi.";
        case ERROR_FILE_TOO_LARGE:
            return "S\xF6zl\xFCk dosya i\xE7in \xE7ok b\xFCy\xFCk.";
        default:
            return "Windows hata kodu " + std::to_string(error) + ".";
    }
}

std::string LoadReason(LoadOutcome outcome) {
    switch (outcome) {
        case LoadOutcome::kLocked:
            return "Dosya y\xFCklenirken ba\xFEka bir program taraf\xFDndan kullan\xFDl\xFDyordu.";
        case LoadOutcome::kTooLarge:
            return "Dosya bellek i\xE7in \xE7ok b\xFCy\xFCk.";
        case LoadOutcome::kOutOfMemory:
            return "Y\xFCklenirken bellek yetmedi.";
        case LoadOutcome::kCancelled:
            return "Y\xFCkleme tamamlanmad\xFD.";
        case LoadOutcome::kWhole:
        case LoadOutcome::kMissing:
        case LoadOutcome::kUnreadable:
            break;
    }
    return "Dosya okunamad\xFD.";
}

std::string Compose(std::string_view headline, const std::string& dataFile, const std::string& reason,
                    std::string_view closing) {
    return std::string(headline) + "\n\nDosya: " + dataFile + "\nSebep: " + reason + "\n\n" + std::string(closing);
}

}  // namespace

std::string SaveFailedMessage(const std::string& dataFile, DWORD error) {
    return Compose(kNotSaved, dataFile, WriteErrorReason(error), kKeptForLater);
}

std::string SaveRefusedMessage(const std::string& dataFile, LoadOutcome lastLoad) {
    if (dataFile.empty()) {
        // "Bu yön için kavrel dosyası yok."
        return Compose(kNotWritten, "-", "Bu y\xF6n i\xE7in kavrel dosyas\xFD yok.",
                       "De\xF0i\xFEiklik yaln\xFDzca bellekte duruyor.");
    }
    return Compose(kNotWritten, dataFile, LoadReason(lastLoad), kKeptInMemory);
}

}  // namespace kavrel
