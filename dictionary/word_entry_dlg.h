// The word editor: a small modal dialog that shows a headword (not editable) and lets the
// user type its translations. A cancel (Escape, the close box) empties both texts, which
// is how the caller tells it from a confirmation.
#pragma once

#include <windows.h>

#include <string>

#include "framework/dialog.h"

class CWordEntryDlg : public kavrel::win::Dialog {
public:
    CWordEntryDlg();

    bool PreTranslateMessage(MSG& msg) override;

    std::string m_strHeadword;      // control 104, at most 1024 characters
    std::string m_strTranslations;  // control 105, at most 4048 characters
    HWND m_edTranslations = nullptr;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(kavrel::win::DataExchange& dx) override;
    BOOL OnInitDialog() override;

private:
    void OnClose();
    void EmptyTexts();
};
