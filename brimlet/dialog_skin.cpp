// brimlet/dialog_skin.cpp
#include "brimlet/dialog_skin.h"

#include "brimlet/resource.h"

void ApplyDialogSkin(CBitmapDialog& dialog, UINT bitmapId)
{
    dialog.SetEasyMove(TRUE);
    dialog.SetBitmap(bitmapId);
    dialog.SetBitmapStyle(4);
    dialog.SetTransparent(0);
    dialog.SetTransparentColor(kSkinKeyColour, TRUE);
}

void SetUpTextButton(CImageButton& button)
{
    button.SetImageAlignment(3, FALSE);
    button.SetBitmapPair(IDB_TEXT_BUTTON, kSkinKeyColour, IDB_TEXT_BUTTON, kSkinKeyColour);
    button.FitToImage();
    button.UseParentBackground(FALSE);
}

void SetUpSmallButton(CImageButton& button, UINT hoverId, UINT normalId)
{
    button.SetImageAlignment(3, FALSE);
    button.SetBitmapPair(hoverId, kSmallButtonKey, normalId, kSmallButtonKey);
    button.FitToImage();
}

void SetUpCornerButtons(CImageButton& close, CImageButton& minimise)
{
    SetUpSmallButton(close, IDB_CLOSE_HOVER, IDB_CLOSE);
    SetUpSmallButton(minimise, IDB_MINIMISE_HOVER, IDB_MINIMISE);
}
