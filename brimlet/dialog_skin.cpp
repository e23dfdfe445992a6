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

void SetUpCornerButtons(CImageButton& close, CImageButton& minimise)
{
    close.SetImageAlignment(3, FALSE);
    close.SetBitmapPair(IDB_CLOSE_HOVER, kSmallButtonKey, IDB_CLOSE, kSmallButtonKey);
    close.FitToImage();
    minimise.SetImageAlignment(3, FALSE);
    minimise.SetBitmapPair(IDB_MINIMISE_HOVER, kSmallButtonKey, IDB_MINIMISE, kSmallButtonKey);
    minimise.FitToImage();
}
