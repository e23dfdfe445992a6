// sarrow/controls/bitmap_progress_ctrl.h
// Sarrow's progress bar: a window laid over a placeholder control, drawn from nine bitmap tiles,
// with an optional progress text (message, percentage, times) for a second window.
//
// Threads: the window, its bitmaps and SetBitmap/Initialise/the destructor belong to the thread
// that created it. SetPos, SetRange, GetPos and Refresh may be called from any thread (the repair
// worker moves the bar): the fields are guarded by a lock, and from another thread Refresh only
// invalidates and asks the window's own thread for the rest, so no thread ever waits for another
// while holding the lock.
#pragma once

#include <windows.h>

#include <atomic>

#include "core/progress/bar_layout.h"
#include "core/progress/clock.h"
#include "core/progress/progress_range.h"
#include "core/progress/progress_sink.h"
#include "platform/dialogs/controls.h"
#include "platform/dialogs/gdi.h"

class CBitmapProgressCtrl : public CStatic, public progress::ProgressSink
{
public:
    // bitmap: the tile strip, or NULL for the built-in one. textWindow may be NULL.
    CBitmapProgressCtrl(CWnd* placeholder, int upper, CBitmap* bitmap, BOOL reverse, CWnd* textWindow,
                        LPCSTR message, int textMode);
    ~CBitmapProgressCtrl() override;

    BOOL CreateFromPlaceholder(CWnd* placeholder, int upper, CBitmap* bitmap, BOOL reverse, CWnd* textWindow,
                               LPCSTR message, int textMode);
    BOOL Initialise(int upper, CBitmap* bitmap, BOOL reverse, LPCSTR message, int textMode);

    // FALSE without a window, or when upper does not exceed lower (the range is kept).
    BOOL SetRange(int lower, int upper, BOOL rescale, BOOL refresh);
    int SetPos(int value, bool refresh) override;
    int GetPos(bool percent) const override;
    void RestartClock(BOOL refresh);
    BOOL SetBitmap(CBitmap* bitmap, BOOL refresh);
    BOOL Refresh();

protected:
    // What the bar keeps between paints, for tests that read the picture back.
    HBITMAP OffscreenBitmap() const { return static_cast<HBITMAP>(m_offscreen.GetSafeHandle()); }

    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    class Lock;

    BOOL GetPlaceholderRect(RECT& rect) const;
    void HideAndRestoreText();
    void FreeBitmaps();
    BOOL BuildTiles(CBitmap* bitmap);
    BOOL RefreshFromOwnThread();
    bool BarMoved();
    CString ComposeText(HDC textDc, int width);
    UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

    mutable CRITICAL_SECTION m_lock;

    CString m_message;
    CString m_lastText;
    CString m_savedText;
    bool m_textSaved = false;  // only a window that was made took the text window's text
    int m_textMode = 0;
    progress::ProgressRange m_range;  // lower, upper, start position, position, previous position
    progress::DrawnBar m_drawn;       // drawn start, drawn end, drawn track end
    BOOL m_reverse = FALSE;
    int m_tileWidth = 0;
    int m_tileHeight = 0;
    RECT m_placeholderRect = {};
    RECT m_paintedSize = {};
    bool m_painted = false;  // the off-screen bitmap holds a picture of the painted size
    bool m_inPaint = false;  // a paint is under way on the window's thread

    CBitmap m_bitmapCopy;
    CBitmap m_screenBitmap;
    CBitmap m_tileStrip;
    CImageList m_tiles;
    CBitmap m_offscreen;

    CWnd* m_placeholder = nullptr;
    CWnd* m_textWindow = nullptr;
    HWND m_placeholderWindow = nullptr;
    HWND m_textWindowHandle = nullptr;

    SYSTEMTIME m_startTime = {};
    FILETIME m_startFileTime = {};

    DWORD m_windowThread = 0;
    std::atomic<bool> m_refreshAsked{false};
};
