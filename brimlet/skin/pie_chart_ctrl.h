// brimlet/skin/pie_chart_ctrl.h
// CPieChartCtrl: a child window that draws a pie of slices given in degrees on a blue disc, with
// an optional legend and title, and turns the pie when the user drags it sideways. Every
// constructor registers the window class "PIE_CHART_CTRL", so a dialog template may name it; the
// object takes such a template control over with SubclassDlgItem.
#pragma once

#include "platform/dialogs/dialogs.h"

constexpr char kPieChartClassName[] = "PIE_CHART_CTRL";

class CPieChartPiece : public CObject
{
    DECLARE_DYNAMIC(CPieChartPiece)
public:
    CPieChartPiece() = default;
    ~CPieChartPiece() override;

    COLORREF m_fillColor = 0;
    COLORREF m_textColor = 0;  // of its percentage
    CBrush m_brush;            // solid, of the fill colour
    int m_size = 0;            // degrees
    CString m_label;
};

class CPieChartCtrl : public CWnd
{
    DECLARE_DYNAMIC(CPieChartCtrl)
public:
    CPieChartCtrl();
    ~CPieChartCtrl() override;

    // Appends a slice and repaints. FALSE (the chart unchanged) when memory runs out.
    BOOL AddPiece(COLORREF fillColor, COLORREF textColor, int size, CString label);
    // Deletes every slice; the next paint shows the bare disc.
    void RemoveAllPieces();
    void SetTitle(CString title);
    // The fill colour of the slice at the index, or of the last slice for an index past the end.
    // FALSE (nothing written) when there is no slice or the index is negative.
    BOOL GetPieceColor(int index, COLORREF* color) const;

protected:
    DECLARE_MESSAGE_MAP()
    void OnPaint();
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnSize(UINT type, int cx, int cy);

    // The pie's square in the client area, below the title.
    void RecalcLayout();
    void DeletePieces();
    CPoint PointOnPie(long long degrees, double radiusFactor = 1.0) const;

    int m_startAngle = 0;
    COLORREF m_discColor = RGB(0, 0, 255);
    COLORREF m_lineColor = RGB(0, 0, 0);
    CObArray m_pieces;
    CFont m_titleFont;
    CFont m_labelFont;
    CString m_title;
    CPoint m_dragPoint;
    DWORD m_dragging = 0;
    CRect m_pieRect;
};
