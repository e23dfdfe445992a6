// The gauges gallery: the bitmap slider, the text progress bar and the pie chart in their states
// on one dialog, saved as a screenshot.
// Usage: gauges_gallery.exe SCREENSHOT.bmp  (exit code 0 when the picture was taken and saved)
#include "brimlet/skin/bitmap_slider.h"
#include "brimlet/skin/pie_chart_ctrl.h"
#include "brimlet/skin/text_progress_ctrl.h"
#include "tests/windows/support/gallery.h"

namespace {

constexpr UINT kChannel = 169;
constexpr UINT kActiveChannel = 170;
constexpr UINT kThumb = 901;
constexpr UINT kActiveThumb = 902;
constexpr COLORREF kColourOfPixel = 0xFF000000;

class CGaugesGallery : public CDialog
{
public:
    CGaugesGallery() : CDialog(600u) {}
    LPCSTR m_screenshot = nullptr;
    bool m_saved = false;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        for (int i = 0; i < kSliders; ++i)
            DDX_Control(dx, 1101 + i, m_sliders[i]);
        for (int i = 0; i < kBars; ++i)
            DDX_Control(dx, 1201 + i, m_bars[i]);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetWindowText("Gauges");
        // As the repair dialog sets up its bar: keyed on the colour of pixel (0, 0), top margin 4.
        const int positions[kSliders] = {0, 35, 70, 100, 60, 25, 65};
        for (int i = 0; i < kSliders; ++i) {
            CBitmapSlider& slider = m_sliders[i];
            slider.SetBitmapChannel(kChannel, kActiveChannel, TRUE, kColourOfPixel, 0, 0);
            slider.SetVertical(FALSE);
            slider.SetRange(0, 100, FALSE);
            slider.SetMarginTop(4);
            if (i >= 5) {
                slider.SetBitmapThumb(kThumb, kActiveThumb, TRUE, kColourOfPixel, 0, 0);
                slider.SetMargin(3, 0, 3, 0);
            }
            slider.SetPos(positions[i]);
        }
        m_sliders[4].Enable(FALSE);

        for (int i = 0; i < kBars; ++i)
            m_bars[i].SendMessage(PBM_SETRANGE32, 0, 100);
        m_bars[0].SetPos(0);
        m_bars[1].SetPos(33);
        m_bars[2].SetPos(50);
        m_bars[2].SetBarColor(RGB(24, 150, 120));
        m_bars[2].SetBgColor(RGB(236, 240, 246));
        m_bars[3].SetPos(100);
        m_bars[4].SetPos(62);
        m_bars[4].SetWindowText("Formatting...");
        m_bars[4].SetTextFormat(0);
        m_bars[5].SetPos(80);
        m_bars[5].SetBarColor(RGB(200, 60, 40));
        m_bars[5].SetTextForeColor(RGB(255, 255, 255));
        m_bars[5].SetWindowText("Text colour of its own");
        m_bars[6].SetPos(60);

        for (int i = 0; i < kPies; ++i)
            m_pies[i].SubclassDlgItem(1301 + i, this);
        // The repair dialog's picture: the bad-block share as one red slice, no label.
        m_pies[1].AddPiece(RGB(255, 0, 0), 0, 18, "");
        m_pies[2].AddPiece(RGB(255, 0, 0), 0, 90, "");
        m_pies[3].SetTitle("Blocks");
        m_pies[3].AddPiece(RGB(255, 0, 0), RGB(255, 255, 255), 40, "Bad");
        m_pies[3].AddPiece(RGB(255, 200, 0), 0, 80, "Spare");
        m_pies[3].AddPiece(RGB(0, 170, 90), RGB(255, 255, 255), 240, "Good");
        m_pies[3].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 60));
        m_pies[3].SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 60));
        m_pies[3].SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(70, 60));

        // The last slider: grabbed, so it shows its active thumb and the focus rectangle.
        CRect client;
        m_sliders[6].GetClientRect(client);
        m_sliders[6].SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.Width() * 65 / 100, 11));
        // Held without the capture, so that wherever the real pointer rests it does not drag on.
        ::ReleaseCapture();

        CenterWindow();
        SetTimer(1, 200);
        return FALSE;  // the focus stays where the grab put it
    }

    BOOL OnEraseBkgnd(CDC* dc)
    {
        // A soft vertical gradient, so that the keyed channels show what lies behind them.
        CRect client;
        GetClientRect(client);
        for (int y = 0; y < client.Height(); ++y) {
            const int shade = 250 - 40 * y / (client.Height() ? client.Height() : 1);
            dc->FillSolidRect(0, y, client.Width(), 1, RGB(shade - 10, shade - 4, shade));
        }
        return TRUE;
    }

    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind)
    {
        HBRUSH brush = CDialog::OnCtlColor(dc, control, kind);
        if (kind != CTLCOLOR_STATIC)
            return brush;  // the captions only: the sliders paint themselves
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(RGB(30, 40, 60));
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }

    void OnTimer(UINT_PTR id)
    {
        if (id != 1) {
            CDialog::OnTimer(id);
            return;
        }
        KillTimer(id);
        m_saved = m_screenshot && test_support::SaveGalleryPicture(m_hWnd, m_screenshot, "gauges gallery");
        EndDialog(IDOK);
    }

    static constexpr int kSliders = 7;
    static constexpr int kBars = 7;
    static constexpr int kPies = 4;
    CBitmapSlider m_sliders[kSliders];
    CTextProgressCtrl m_bars[kBars];
    CPieChartCtrl m_pies[kPies];  // constructed before the dialog: the template names their class
};

BEGIN_MESSAGE_MAP(CGaugesGallery, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
END_MESSAGE_MAP()

test_support::CGalleryApp<CGaugesGallery> theApp;

}  // namespace
