// brimlet/splash_dialog.cpp
#include "brimlet/splash_dialog.h"

#include "brimlet/dialog_skin.h"
#include "brimlet/resource.h"

namespace {

// Process-wide, as the splash is shown once per run.
brimlet::SplashLanguage g_language = brimlet::SplashLanguage::Other;
brimlet::SplashTimeline g_timeline;

}  // namespace

const brimlet::SplashTimeline& SplashAnimationState()
{
    return g_timeline;
}

brimlet::SplashLanguage SplashAnimationLanguage()
{
    return g_language;
}

CSplashDialog::CSplashDialog(CWnd* parent) : CBitmapDialog(IDD_SPLASH, parent) {}

BEGIN_MESSAGE_MAP(CSplashDialog, CBitmapDialog)
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
END_MESSAGE_MAP()

void CSplashDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
}

BOOL CSplashDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    g_language = brimlet::SplashLanguageFromLcid(::GetSystemDefaultLCID());
    ApplyDialogSkin(*this, brimlet::SplashFrameBitmap(g_language, 0));
    SetTimer(brimlet::kSplashTimerId, brimlet::kSplashTickMilliseconds);
    return TRUE;
}

BOOL CSplashDialog::OnEraseBkgnd(CDC* dc)
{
    CBitmapDialog::OnEraseBkgnd(dc);
    return TRUE;
}

void CSplashDialog::OnTimer(UINT_PTR id)
{
    if (id == brimlet::kSplashTimerId) {
        const brimlet::SplashStep step = g_timeline.Tick(g_language);
        if (step.end) {
            KillTimer(brimlet::kSplashTimerId);
            OnCancel();
        } else {
            if (step.newBitmap)
                SetBitmap(step.newBitmap);
            if (step.repaint)
                Invalidate(TRUE);
        }
    }
    Default();
}
