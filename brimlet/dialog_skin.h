// brimlet/dialog_skin.h
// The setup Brimlet's skinned dialogs share: the background picture with its green key, the text
// buttons on the one button face, and the close and minimise buttons of the top right corner.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/image_button.h"

// The backgrounds' and the text button face's transparent colour.
constexpr COLORREF kSkinKeyColour = RGB(0, 255, 0);
// The close and minimise pictures' transparent colour.
constexpr COLORREF kSmallButtonKey = RGB(75, 100, 112);

// Easy move, the picture in draw style 4, the window opaque, and kSkinKeyColour transparent.
void ApplyDialogSkin(CBitmapDialog& dialog, UINT bitmapId);

// The text button face keyed on kSkinKeyColour, under the caption, the button sized to it and
// painting its own background.
void SetUpTextButton(CImageButton& button);

// A small button (close, minimise, scroll): its hover and normal pictures keyed on
// kSmallButtonKey, under the caption, the button sized to its picture.
void SetUpSmallButton(CImageButton& button, UINT hoverId, UINT normalId);

// The close and minimise buttons of the top right corner.
void SetUpCornerButtons(CImageButton& close, CImageButton& minimise);
