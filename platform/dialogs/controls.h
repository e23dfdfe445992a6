// platform/dialogs/controls.h
// The standard controls. Owner-drawn buttons and statics get WM_DRAWITEM back from their parent
// as DrawItem.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/dialogs/wnd.h"

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))); }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP)); }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon))); }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(BM_GETIMAGE, IMAGE_ICON)); }

    // Paints an owner-drawn (BS_OWNERDRAW) button.
    virtual void DrawItem(LPDRAWITEMSTRUCT item) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// An owner-drawn button painted from up to four bitmaps: up (normal), down (pressed), focused and
// disabled; the missing ones fall back to the up bitmap.
class CBitmapButton : public CButton
{
    DECLARE_DYNAMIC(CBitmapButton)
public:
    CBitmapButton() = default;
    BOOL LoadBitmaps(UINT up, UINT down = 0, UINT focus = 0, UINT disabled = 0);
    BOOL LoadBitmaps(LPCSTR up, LPCSTR down = nullptr, LPCSTR focus = nullptr, LPCSTR disabled = nullptr);
    // Resizes the button to its up bitmap.
    void SizeToContent();
    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);

    HBITMAP SetBitmap(HBITMAP bitmap) { return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))); }
    HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP)); }
    HICON SetIcon(HICON icon) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
    HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }

    // Paints an owner-drawn (SS_OWNERDRAW) static.
    virtual void DrawItem(LPDRAWITEMSTRUCT item) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }
    void SetLimitText(UINT limit) { SendMessage(EM_SETLIMITTEXT, limit); }
    void LimitText(int limit = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
    int LineIndex(int line = -1) const { return static_cast<int>(SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line))); }
    int LineLength(int index = -1) const { return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(index))); }
    void LineScroll(int lines, int chars = 0) { SendMessage(EM_LINESCROLL, static_cast<WPARAM>(chars), lines); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    void SetMargins(UINT left, UINT right) { SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(left, right)); }
    void SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, static_cast<unsigned char>(ch)); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
    BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange(int& lower, int& upper) const;
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
    COLORREF SetBarColor(COLORREF color) { return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, color)); }
    COLORREF SetBkColor(COLORREF color) { return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, color)); }
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    // A popup tooltip window owned by parent, with WS_POPUP and the given TTS_ styles.
    BOOL Create(CWnd* parent, DWORD style = 0);

    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
    // A tool for the window's client area (rect NULL) or a rectangle of it, with id and the TTF_
    // flags given: a control that relays its mouse messages itself (TTM_RELAYEVENT) passes no
    // TTF_SUBCLASS, or the tooltip would see each of them twice.
    BOOL AddTool(CWnd* window, LPCSTR text, LPCRECT rect = nullptr, UINT_PTR id = 0, UINT flags = 0);
    BOOL AddTool(CWnd* window, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0, UINT flags = 0);
    void DelTool(CWnd* window, UINT_PTR id = 0);
    void UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR id = 0);
    void SetToolRect(CWnd* window, UINT_PTR id, LPCRECT rect);
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    int SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void SetDelayTime(UINT delay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(delay)); }
    void Pop() { SendMessage(TTM_POP); }
};
