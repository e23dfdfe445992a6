// tests/windows/skin/gauge_host.h
// The window the gauge tests put their controls on: template 400 (the slider's placeholder 1016,
// progress bar 1001, pie chart 1000) on a magenta background, shown topmost so that what the
// controls paint can be read back from their own DCs.
#pragma once

#include "brimlet/skin/bitmap_slider.h"
#include "brimlet/skin/pie_chart_ctrl.h"
#include "brimlet/skin/text_progress_ctrl.h"
#include "tests/windows/support/pixel_canvas.h"

#include <vector>

namespace gauges {

constexpr COLORREF kParentColor = RGB(255, 0, 255);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kKey = RGB(0, 255, 0);
constexpr COLORREF kThumb = RGB(0, 120, 0);
constexpr COLORREF kActiveThumb = RGB(200, 200, 0);
constexpr COLORREF kSmallThumb = RGB(0, 200, 200);

enum Bitmap : UINT {
    kChannel = 301,
    kActiveChannel = 302,
    kThumbBitmap = 303,
    kActiveThumbBitmap = 304,
    kKeyedChannel = 305,
    kKeyedActiveChannel = 306,
    kKeyedThumb = 307,
    kTallChannel = 308,
    kTallActiveChannel = 309,
    kSmallThumbBitmap = 310,
};

// Test access to the controls' state.
class CSliderProbe : public CBitmapSlider
{
public:
    using CBitmapSlider::m_clientRect;
    using CBitmapSlider::m_dragging;
    using CBitmapSlider::m_hasActiveChannel;
    using CBitmapSlider::m_hasChannel;
    using CBitmapSlider::m_hasThumb;
    using CBitmapSlider::m_maximum;
    using CBitmapSlider::m_minimum;
    using CBitmapSlider::m_position;
    using CBitmapSlider::m_savedThumbX;
    using CBitmapSlider::m_channel;
    using CBitmapSlider::m_activeChannel;
};

class CProgressProbe : public CTextProgressCtrl
{
public:
    int m_paints = 0;
    using CTextProgressCtrl::m_barWidth;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            ++m_paints;
        return CTextProgressCtrl::WindowProc(message, wParam, lParam);
    }
};

class CPieProbe : public CPieChartCtrl
{
public:
    using CPieChartCtrl::m_dragging;
    using CPieChartCtrl::m_pieRect;
    using CPieChartCtrl::m_startAngle;
    using CPieChartCtrl::m_pieces;
};

class CGaugeHost : public CDialog
{
public:
    CGaugeHost() : CDialog(400u) {}
    ~CGaugeHost() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    BOOL Open()
    {
        if (!Create(400u, nullptr))
            return FALSE;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        return TRUE;
    }

    // Paints the host and its controls now, then copies the control's client area.
    void Capture(CWnd& control, test_support::PixelCanvas& canvas)
    {
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        canvas.CopyFromWindow(control.m_hWnd);
    }

    // Takes the posted slider notifications off the queue, oldest first.
    struct Notification {
        UINT message;
        WPARAM id;
        LPARAM position;
        bool operator==(const Notification&) const = default;
    };
    std::vector<Notification> TakeNotifications()
    {
        std::vector<Notification> taken;
        MSG msg;
        while (::PeekMessageA(&msg, m_hWnd, WM_SLIDER_MOVING, WM_SLIDER_MOVED, PM_REMOVE))
            taken.push_back({msg.message, msg.wParam, msg.lParam});
        return taken;
    }

    CSliderProbe m_slider;
    CProgressProbe m_progress;
    CPieProbe m_pie;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, 1016, m_slider);
        DDX_Control(dx, 1001, m_progress);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_pie.SubclassDlgItem(1000, this);
        return TRUE;
    }
    BOOL OnEraseBkgnd(CDC* dc)
    {
        CRect client;
        GetClientRect(client);
        dc->FillSolidRect(client, kParentColor);
        return TRUE;
    }
};

}  // namespace gauges
