// sarrow/skin.h
// The look every Sarrow window shares: a background picture whose RGB(0, 60, 31) pixels are
// transparent, drag by the background, heavy Arial texts on it, captions centred on keys.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "platform/dialogs/dialogs.h"
#include "sarrow/controls/hover_button.h"

constexpr COLORREF kSkinColourKey = RGB(0, 60, 31);
constexpr COLORREF kKeepTextColour = CLR_INVALID;

// Easy move, the picture, the window sized to it, the colour key.
void ApplySkin(CBitmapDialog& dialog, UINT bitmapId);

// The pictures are drawn for a fixed number of pixels per dialog unit (3/2 for the "MS Sans
// Serif" 8 templates, 2 for the "System" 10 result boxes); the dialog font's metrics vary with
// the system and its language. Moves and sizes every control to where that scale puts it, so the
// controls sit on their places in the picture everywhere. Call it before anything follows or
// resizes the controls.
constexpr int kSansSerifPixelsPerTwoUnits = 3;
constexpr int kSystemFontPixelsPerTwoUnits = 4;
void AlignControlsToSkin(CDialog& dialog, int pixelsPerTwoUnits);

// The heavy Arial of the texts on the skin (weight 900, `height`), made once into `font`.
bool MakeSkinFont(CFont& font, int height);

// Gives the control the skin font as its own too: some systems select a static's own font only
// after the colour request, which would undo the font chosen there.
void UseSkinFont(CWnd* control, CFont& font, int height);

// For a colour request: selects `font` (made if needed) into the DC with a transparent background
// and `colour` (unless kKeepTextColour). False when the font cannot be made: the text then keeps
// the DC's font and colours.
bool PrepareSkinText(CDC& dc, CFont& font, int height, COLORREF colour);

// The close and minimise keys of a window's top right corner.
void LoadCornerKeys(CHoverButton& close, CHoverButton& minimise);

// A large key with caption `textId` in black, centred on the key as its bitmaps sized it.
void LoadCaptionedKey(CHoverButton& button, UINT textId);

// Draws the minimised window's icon centred in its client area.
void PaintIconicWindow(CWnd& window, HICON icon);
