// sarrow/skin.cpp
#include "sarrow/skin.h"

#include <cstring>

#include "sarrow/resource.h"

void ApplySkin(CBitmapDialog& dialog, UINT bitmapId)
{
    dialog.SetEasyMove(TRUE);
    dialog.SetBitmap(bitmapId);
    dialog.SetBitmapStyle(4);
    dialog.SetTransparentColor(kSkinColourKey, TRUE);
}

void AlignControlsToSkin(CDialog& dialog, int pixelsPerTwoUnits)
{
    RECT units = {0, 0, 4, 8};
    if (!::MapDialogRect(dialog.GetSafeHwnd(), &units) || units.right <= 0 || units.bottom <= 0)
        return;
    // A control at u dialog units stands at u x baseX / 4 pixels now and belongs at
    // u x pixelsPerTwoUnits / 2: scale by 2 x pixelsPerTwoUnits / baseX (and 4 x ... / baseY).
    const auto x = [&](LONG pixels) { return MulDiv(pixels, 2 * pixelsPerTwoUnits, units.right); };
    const auto y = [&](LONG pixels) { return MulDiv(pixels, 4 * pixelsPerTwoUnits, units.bottom); };
    for (HWND child = ::GetWindow(dialog.GetSafeHwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, dialog.GetSafeHwnd(), reinterpret_cast<POINT*>(&place), 2);
        ::MoveWindow(child, x(place.left), y(place.top), x(place.right) - x(place.left),
                     y(place.bottom) - y(place.top), FALSE);
    }
}

bool MakeSkinFont(CFont& font, int height)
{
    if (font.GetSafeHandle())
        return true;
    LOGFONTA description = {};
    description.lfHeight = height;
    description.lfWeight = 900;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_TT_PRECIS;
    description.lfQuality = PROOF_QUALITY;
    description.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(description.lfFaceName, "Arial");
    return font.CreateFontIndirect(&description) != FALSE;
}

void UseSkinFont(CWnd* control, CFont& font, int height)
{
    if (control && MakeSkinFont(font, height))
        control->SetFont(&font, FALSE);
}

bool PrepareSkinText(CDC& dc, CFont& font, int height, COLORREF colour)
{
    if (!MakeSkinFont(font, height))
        return false;
    dc.SelectObject(&font);
    if (colour != kKeepTextColour)
        dc.SetTextColor(colour);
    dc.SetBkMode(TRANSPARENT);
    return true;
}

void LoadCornerKeys(CHoverButton& close, CHoverButton& minimise)
{
    close.LoadBitmaps(IDB_CLOSE, IDB_CLOSE_LIT, IDB_CLOSE_LIT);
    minimise.LoadBitmaps(IDB_MINIMISE, IDB_MINIMISE_LIT, IDB_MINIMISE_LIT);
}

void LoadCaptionedKey(CHoverButton& button, UINT textId)
{
    button.LoadBitmaps(IDB_KEY, IDB_KEY, IDB_KEY_PRESSED);
    CString caption;
    caption.LoadString(textId);
    CRect client;
    button.GetClientRect(&client);
    button.SetTextPosition(caption, (client.left + client.right) / 2, (client.top + client.bottom) / 2, RGB(0, 0, 0));
}

void PaintIconicWindow(CWnd& window, HICON icon)
{
    CPaintDC dc(&window);
    window.SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    window.GetClientRect(&client);
    const int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, icon);
}
