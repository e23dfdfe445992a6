// brimlet/skin/image_button.h
// CImageButton: Brimlet's owner-drawn push button. It shows an icon or a bitmap (with a
// transparent colour) and an optional caption, highlights while the pointer is over it, can act
// as a check box, open a link with the shell, show a tooltip and a cursor of its own, play a sound
// on hover and on click, and can paint its parent's picture under itself so that an irregular
// bitmap sits on a skinned dialog. It takes over a push button of a dialog template
// (DDX_Control) and makes it owner-drawn. It can carry a drop-down menu (an owner-drawn menu
// loaded from a menu template) that opens below it when it is clicked.
#pragma once

#include "brimlet/skin/orvel_menu.h"
#include "platform/dialogs/dialogs.h"

class CImageButton : public CButton
{
    DECLARE_DYNAMIC(CImageButton)
public:
    // Results of the setters.
    enum Result : DWORD {
        kDone = 0,
        kResourceNotUsable = 1,
        kMaskNotCreated = 2,
        kColourIndexTooLarge = 3,  // not below kFaceColourCount
        kAlignmentTooLarge = 4,    // above kImageUnderCaption
        kArgumentNotUsable = 5,
        kPressedStyleUnknown = 6,  // not 0 or 1
    };
    // In place of the normal image of a pair: made from the hover image.
    static constexpr UINT kGreyImage = static_cast<UINT>(-3);
    static constexpr UINT kDarkerImage = static_cast<UINT>(-2);
    // The face colours; "active" is while hovering or pressed.
    enum FaceColour : BYTE {
        kBackgroundActive = 0,
        kTextActive = 1,
        kBackgroundNormal = 2,
        kTextNormal = 3,
        kBackgroundFocused = 4,
        kTextFocused = 5,
        kFaceColourCount = 6,
    };
    enum Alignment : BYTE {
        kImageLeft = 0,          // left of the caption
        kImageAbove = 1,         // above the caption
        kImageRight = 2,         // right of the caption
        kImageUnderCaption = 3,  // at the face's top-left, the caption over the whole face
    };
    // Where the tooltip is created.
    static constexpr UINT kTipToolId = 1;
    static constexpr int kTipMaxWidth = 400;
    static constexpr size_t kPathSize = 260;  // link target and sound file name, with the terminator

    CImageButton();
    ~CImageButton() override;

    // Images. Each setter first releases every image the button holds and ends with a repaint.
    // Icons by resource id with their sizes (0: the resource's own); the normal id may be 0 (none),
    // kGreyImage or kDarkerImage.
    DWORD SetIconPair(UINT hoverId, int hoverWidth, int hoverHeight, UINT normalId, int normalWidth,
                      int normalHeight);
    DWORD SetIconPair(UINT hoverId, UINT normalId);
    // The button owns the icons from then on. A NULL hover icon leaves the button without icons.
    DWORD SetIconPair(HICON hover, HICON normal);
    DWORD SetBitmapPair(UINT hoverId, COLORREF hoverKey, UINT normalId, COLORREF normalKey);
    // The button owns the bitmaps from then on; their transparent pixels are made black in place.
    DWORD SetBitmapPair(HBITMAP hover, COLORREF hoverKey, HBITMAP normal, COLORREF normalKey);
    // The window takes the hover image's size, and the image the whole face.
    void FitToImage();

    // Look and behaviour; a repaint argument TRUE invalidates the button.
    DWORD SetFlatStyle(BOOL flat, BOOL repaint = TRUE);
    DWORD SetImageAlignment(BYTE alignment, BOOL repaint = TRUE);
    // 0: a pressed button's image and caption move by (1, 1); 1: by (0, 2).
    DWORD SetPressedShift(BYTE style, BOOL repaint = TRUE);
    // Check boxes only: any value but 0 checks.
    DWORD SetCheckState(int state, BOOL repaint = TRUE);
    int GetCheckState() const { return m_checkState; }
    // Backgrounds COLOR_BTNFACE, texts COLOR_BTNTEXT.
    DWORD ResetColors(BOOL repaint = TRUE);
    DWORD SetFaceColor(BYTE index, COLORREF colour);
    DWORD GetFaceColor(BYTE index, COLORREF* colour) const;
    // Brightens (positive) or darkens all three channels by one offset, -255..255.
    DWORD ShiftFaceColor(BYTE index, short offset, BOOL repaint = TRUE);
    DWORD SetHoverWhenInactive(BOOL hoverWhenInactive);
    // A cursor resource of the resource module (0: none); 1 when it does not load.
    DWORD SetHoverCursor(int cursorId, BOOL repaint = TRUE);
    DWORD SetBorderDrawing(BOOL drawBorder, BOOL repaint = TRUE);
    DWORD SetFocusOnFlat(BOOL focusOnFlat, BOOL repaint = TRUE);
    BOOL IsDefaultButton() const { return m_defaultButton; }
    // Paint a snapshot of the parent under the face; the next paint takes a new one.
    DWORD UseParentBackground(BOOL repaint = TRUE);
    // The snapshot from a DC the parent passes (its client coordinates); 5 without parent
    // background or DC.
    DWORD TakeBackgroundFrom(CDC* dc);
    // What a click hands to the shell. A text that does not fit (kPathSize with its terminator)
    // is refused: the target stays empty and the result is 5.
    DWORD SetLinkTarget(LPCSTR target);
    DWORD SetTipText(int stringId, BOOL activate = TRUE);
    DWORD SetTipText(LPCSTR text, BOOL activate = TRUE);
    DWORD ActivateTip(BOOL activate);
    // Applies to a tooltip created afterwards.
    DWORD UseBalloonTip();
    // Played on entering hover, or on click. With a module the sound is a resource name of it and
    // the pointer is kept; without, a file name, copied (one that does not fit is refused: 5).
    // NULL clears the slot.
    DWORD SetButtonSound(LPCSTR sound, HMODULE module = nullptr, BOOL onClick = FALSE, BOOL asynchronous = TRUE);

    // The drop-down menu: a menu template whose first popup opens below the button on a click,
    // in the XP look or the classic one (for every owner-drawn menu), with the images of a
    // toolbar resource (0: none) of that image size and transparent colour; the chosen command
    // goes to target as WM_COMMAND. A menu held before goes first; menu id 0 leaves none.
    // 1 when the template or the toolbar does not load (then the button holds no menu).
    DWORD AttachDropDownMenu(UINT menuId, HWND target, BOOL xpLook, UINT toolbarId = 0, SIZE imageSize = {16, 15},
                             COLORREF toolbarMask = RGB(192, 192, 192), BOOL repaint = TRUE);
    // Sent to window just before the menu opens: the message, the popup (CMenu*) and lParam.
    DWORD SetMenuNotify(HWND window, UINT message, LPARAM lParam);

    // A monochrome mask of the bitmap's transparent colour (its pixels 1); the bitmap's transparent
    // pixels become black. NULL when the mask cannot be made.
    static HBITMAP BuildMask(HBITMAP bitmap, DWORD width, DWORD height, COLORREF key);
    // Each channel v becomes v - v * factor for 0 < factor <= 1.
    static COLORREF DarkenColour(COLORREF colour, double factor);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()
    void PreSubclassWindow() override;

    virtual void PaintBackground(CDC* dc, CRect* rect);
    virtual void PaintBorder(CDC* dc, CRect* rect);
    virtual void PaintIcon(CDC* dc, BOOL hasCaption, RECT* item, RECT* caption, BOOL pressed, BOOL disabled);
    virtual void PaintBitmap(CDC* dc, BOOL hasCaption, RECT* item, RECT* caption, BOOL pressed, BOOL disabled);
    virtual void PaintCaption(CDC* dc, LPCSTR text, RECT* item, RECT* caption, BOOL pressed, BOOL disabled);

    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void OnKillFocus(CWnd* next);
    void OnCancelMode();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnEnable(BOOL enable);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    UINT OnGetDlgCode();
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    HBRUSH CtlColor(CDC* dc, UINT kind);
    void OnSysColorChange();
    BOOL OnClicked();
    LRESULT OnMenuChar(UINT character, UINT flags, CMenu* menu);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);

    // The image's rectangle (its own size) for the face; the caption's rectangle may change.
    void PlaceImage(BOOL hasCaption, const RECT* item, RECT* caption, BOOL pressed, DWORD width,
                    DWORD height, RECT* image) const;
    void ReleaseImages();
    void EndHover();
    void EnsureTip();
    void Repaint(BOOL repaint);
    // 0 for the hover image, 1 for the normal one when it exists.
    int ImageIndex(bool hasNormalImage) const;
    void TakeSnapshot(CDC* source);
    void ReleaseSnapshot();
    void PlaySlot(int slot) const;
    // Shows the drop-down menu and answers TRUE, or FALSE when the button holds none. The button
    // may be deleted on the way (by the owner it tells, or from the menu's loop): then TRUE, and
    // nothing of it is touched again.
    BOOL ShowDropDownMenu();
    class DeletionWatch;
    DWORD MeasureIcon(int index);

    struct IconImage {
        HICON icon = nullptr;
        DWORD width = 0;
        DWORD height = 0;
    };
    struct BitmapImage {
        HBITMAP bitmap = nullptr;
        DWORD width = 0;
        DWORD height = 0;
        HBITMAP mask = nullptr;
        COLORREF key = 0;
    };
    struct Sound {
        char path[kPathSize] = {};
        LPCSTR sound = nullptr;
        HMODULE module = nullptr;
        DWORD flags = 0;
    };
    struct MenuNotify {
        HWND window = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;  // not used
        LPARAM lParam = 0;
    };

    BOOL m_showDisabledBitmap = TRUE;
    CPoint m_imageOrigin{3, 3};
    CPoint m_pressedShift{1, 1};
    BOOL m_flat = TRUE;
    BOOL m_hovering = FALSE;
    BOOL m_parentBackground = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_disabled = FALSE;
    BOOL m_defaultButton = FALSE;
    BOOL m_checkBox = FALSE;
    BYTE m_alignment = kImageRight;
    BOOL m_drawBorder = TRUE;
    BOOL m_focusOnFlat = FALSE;
    COLORREF m_faceColours[kFaceColourCount] = {};
    // The drop-down menu's target window (it gets the chosen command), whether the menu is open,
    // and the menu.
    HWND m_menuTarget = nullptr;
    BOOL m_menuShown = FALSE;
    OrvelMenu m_dropDownMenu;
    HCURSOR m_cursor = nullptr;
    CToolTipCtrl m_tooltip;
    CDC m_backgroundDC;
    CBitmap m_backgroundBitmap;
    CBitmap* m_previousBitmap = nullptr;
    BOOL m_hoverWhenInactive = TRUE;
    int m_checkState = 0;
    UINT m_typeStyle = 15;
    DWORD m_tooltipStyle = 0;
    char m_linkTarget[kPathSize] = {};
    IconImage m_icons[2];      // [0] hover and pressed, [1] normal
    BitmapImage m_bitmaps[2];  // [0] hover and pressed, [1] normal
    MenuNotify m_menuNotify;   // sent just before the drop-down menu opens
    Sound m_sounds[2];         // [0] entering hover, [1] click
    bool* m_deletedFlag = nullptr;  // set by the destructor while the drop-down menu is open
};
