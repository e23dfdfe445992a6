// brimlet/splash_dialog.h
// CSplashDialog: the animated picture before the licence. Four full-window frames follow one
// another on a 100 ms timer and the dialog closes itself after about 3.5 seconds; the picture set
// follows the system's default language.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "core/brimlet/splash_timeline.h"

class CSplashDialog : public CBitmapDialog
{
public:
    explicit CSplashDialog(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()
};

// The animation runs once per process: its frame and tick count are never reset.
const brimlet::SplashTimeline& SplashAnimationState();
brimlet::SplashLanguage SplashAnimationLanguage();
