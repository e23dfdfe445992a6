// brimlet/agreement_dialog.h
// CAgreementDialog: Brimlet's licence text in a read-only scrolling box over the skinned
// background. OK or Enter accepts; Cancel, the close button or Escape declines.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/color_edit.h"
#include "brimlet/skin/image_button.h"
#include "brimlet/skin/link_label.h"
#include "core/brimlet/licence_text.h"

class CAgreementDialog : public CBitmapDialog
{
public:
    explicit CAgreementDialog(CWnd* parent = nullptr);

    // Read by the caller after DoModal: TRUE only once OK was pressed.
    BOOL m_accepted = FALSE;

    // Reads the licence file of the system's default locale from the current folder into the
    // text box.
    void LoadAgreementFile();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnCloseButton();
    void OnMinimiseButton();
    DECLARE_MESSAGE_MAP()

    CImageButton m_minimiseButton;
    CStatic m_thumbPicture;
    CImageButton m_upButton;
    CImageButton m_downButton;
    CLinkLabel m_viewLabel;
    CImageButton m_closeButton;
    CColorEdit m_textBox;
    CImageButton m_okButton;
    CImageButton m_cancelButton;
    brimlet::LicencePieces m_pieces;
};
