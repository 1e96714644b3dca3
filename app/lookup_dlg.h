// The main window: word box, direction list, translation list and banner. It owns the
// state every feature works on and routes each window message to its handler.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "core/word_table.h"
#include "dictionary/data_file.h"
#include "dictionary/loader.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/hotkey.h"

namespace kavrel {
struct LookupDecision;
}

// Owned through kavrel::win::DialogPtr (MakeDialog), which destroys the window first.
class CLookupDlg : public kavrel::win::Dialog {
public:
    // Creates the window from its template at once (modeless); OnInitDialog runs inside.
    explicit CLookupDlg(HWND parent = nullptr);

    bool PreTranslateMessage(MSG& msg) override;

    // Directions and loading.
    void LoadDirection();
    void OnSelchangeDirection();
    bool IsLoading() const { return m_loader != nullptr; }

    // Lookup.
    void LookupWord();
    void OnSetFocusWord();
    void OnKillFocusWord();

    // The word editor and saving (F6). Neither does anything while a load runs.
    void EditEntry();
    // Writes the whole table to the data file; false when nothing was written, which the
    // user has been told.
    bool SaveDictionary();

    // The status line.
    void SetCaption(const std::string& caption);

    // Read by tests and by the features that follow.
    const kavrel::WordTable& Words() const { return m_mapWords; }
    const std::string& DataFile() const { return m_strDataFile; }
    const std::string& DirectionName() const { return m_strDirection; }
    kavrel::LoadOutcome LastLoadOutcome() const { return m_loadOutcome; }
    bool TopMost() const { return m_bTopMost != FALSE; }
    void SetTopMost(bool topMost) { m_bTopMost = topMost ? TRUE : FALSE; }
    void SetDirectionName(std::string direction) { m_strDirection = std::move(direction); }
    int BannerState() const { return m_nBannerState; }
    // The picture loaded for banner bitmap resource id (130 to 133).
    HBITMAP BannerBitmap(int id) const;

    // The window timer that turns the banner's pictures.
    static constexpr UINT_PTR kBannerTimerId = 2;
    // The most characters the word box holds.
    static constexpr size_t kMaxWordChars = 1024;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(kavrel::win::DataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnDestroy();
    void OnShowEntryEditor();
    void OnCommand(int id, int code);
    void LoadSettings();
    void SaveSettings();
    void OnTimer(UINT_PTR id);
    void OnMouseMove(POINT point);
    void OnLButtonDblClk(POINT point);
    void ShowBannerPicture(int state);
    void OpenHomepage();
    void PlaceAtSavedCorner();
    void BeginLoadDisplay();
    void OnLoaderMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnLoadDone();
    void ShowHit(const kavrel::LookupDecision& hit, DWORD caret);
    bool OnKeyDown(UINT key);
    bool IsLoadBlockedKey(const MSG& msg) const;
    void CloseTranslationList();
    void MoveTranslationSelection(int step);
    void ToggleTopMost();
    bool ReadWordBox();
    void RestoreFocusAfterLoad();
    void RestoreFocus(HWND control);
    bool OnActivate(WORD state);
    void RegisterLookupHotkey();
    void ReleaseLookupHotkey();
    void OnHotkey(int id);
    void BringToFront(HWND target);

    std::string m_strWord;
    HWND m_cbDirection = nullptr;
    HWND m_cbTranslations = nullptr;
    HWND m_edWord = nullptr;
    HWND m_stBanner = nullptr;
    int m_nXPos = 0;
    int m_nYPos = 0;
    std::string m_strDirection;
    std::string m_strDataFile;
    kavrel::WordTable m_mapWords;
    BOOL m_bTopMost = FALSE;
    int m_nBannerState = 1;
    int m_nUsed = 0;
    std::string m_strUsedFirst;
    HICON m_hIcon = nullptr;
    RECT m_rcBanner{};
    std::array<kavrel::win::GdiObject<HBITMAP>, 4> m_bmpBanner;
    std::string m_strHotkey;  // the profile's text of the hotkey's combination
    kavrel::win::GlobalHotkey m_hotkey;

    // The running load, if any, and where the keyboard focus was when it began.
    std::unique_ptr<kavrel::DictionaryLoader> m_loader;
    // How the last load ended: a save may replace only a file that was read whole.
    kavrel::LoadOutcome m_loadOutcome = kavrel::LoadOutcome::kCancelled;
    HWND m_hFocusBeforeLoad = nullptr;
    HWND m_hFocusOnActivate = nullptr;  // where the focus goes when the window is activated
    bool m_bRestoringFocus = false;
    bool m_bReadingWordBox = false;  // the word box's validation message is showing
};
