// sarrow/warning_splash_dialog.h
// The first window: a picture with a moving glint and the warnings that the repair destroys the
// drive's data. It closes itself after 4.5 seconds.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "platform/dialogs/dialogs.h"

class CWarningSplashDialog : public CBitmapDialog {
public:
    explicit CWarningSplashDialog(CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id);
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    DECLARE_MESSAGE_MAP()

private:
    CFont m_warningFont;  // 1014, 1015
    CFont m_titleFont;    // 1016
};

// The frame chain: each timer shows its frame and starts the next one.
constexpr UINT_PTR kFirstFrameTimer = 0x100;
constexpr UINT_PTR kEndOfSplashTimer = 0x500;
constexpr UINT kFirstFrameDelay = 500;
constexpr UINT kFrameDelay = 300;
constexpr UINT kSplashDuration = 4500;
