// The texts of the status line (the main window's caption), Windows-1254 bytes: every
// feature that reports sets one of these whole.
#pragma once

#include <string>
#include <string_view>

namespace kavrel::captions {

inline constexpr std::string_view kProgramTitle = "Kavrel v1.5";

// "<direction> kavrel yükleniyor (0)..." while a load starts.
inline std::string LoadStarting(std::string_view direction) {
    return std::string(direction) + " kavrel y\xFCkleniyor (0)...";
}

// "<direction> kavrel yükleniyor (%37)...": the percent sign stands before the number.
inline std::string Loading(std::string_view direction, int percent) {
    return std::string(direction) + " kavrel y\xFCkleniyor (%" + std::to_string(percent) + ")...";
}

// "Kavrel v1.5 (<n> kelime) ... yardım için F1" when a load has ended.
inline std::string Loaded(size_t words) {
    return "Kavrel v1.5 (" + std::to_string(words) + " kelime) ... yard\xFDm i\xE7in F1";
}

// "Kavrel v1.5 (<n> kelime) ... yardım [F1] ... ekleme/değişiklik [F6]" on a hit.
inline std::string Found(size_t words) {
    return "Kavrel v1.5 (" + std::to_string(words) + " kelime) ... yard\xFDm [F1] ... ekleme/de\xF0i\xFEiklik [F6]";
}

// "kelime bulunamadı ... yardım [F1] ... ekleme [F6]" on a miss.
inline constexpr std::string_view kNotFound = "kelime bulunamad\xFD ... yard\xFDm [F1] ... ekleme [F6]";

// "Program devamlı en üstde (değiştirmek için F2) ..." and "... üstde değil ...": F2.
inline constexpr std::string_view kTopMostOn = "Program devaml\xFD en \xFCstde (de\xF0i\xFEtirmek i\xE7in F2) ...";
inline constexpr std::string_view kTopMostOff =
    "Program devaml\xFD en \xFCstde de\xF0il (de\xF0i\xFEtirmek i\xE7in F2) ...";

// "Kavrel değişiklikleri saklanıyor (% 0) ..." when a save starts; the blank stands where
// the progress captions have their percent sign.
inline constexpr std::string_view kSaveStarting = "Kavrel de\xF0i\xFEiklikleri saklan\xFDyor (% 0) ...";

// "Kavrel değişiklikleri saklanıyor (%37) ...".
inline std::string SaveProgress(int percent) {
    return "Kavrel de\xF0i\xFEiklikleri saklan\xFDyor (%" + std::to_string(percent) + ") ...";
}

}  // namespace kavrel::captions
