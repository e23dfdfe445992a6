// brimlet/skin/pie_chart_ctrl.cpp
#include "brimlet/skin/pie_chart_ctrl.h"

#include "core/chart/pie_geometry.h"

#include <new>

namespace {

void RegisterPieChartClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_GLOBALCLASS;
    // The control object takes each window over by subclassing.
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = AfxGetInstanceHandle();
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_CROSS);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = kPieChartClassName;
    ::RegisterClassA(&windowClass);  // fails once the class exists, which is as good
}

BOOL CreateChartFont(CFont& font, int height)
{
    return font.CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                           CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
}

chart::Rect ToChart(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

IMPLEMENT_DYNAMIC(CPieChartPiece, CObject)
IMPLEMENT_DYNAMIC(CPieChartCtrl, CWnd)

CPieChartPiece::~CPieChartPiece() { m_brush.DeleteObject(); }

BEGIN_MESSAGE_MAP(CPieChartCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CPieChartCtrl::CPieChartCtrl()
{
    RegisterPieChartClass();
    CreateChartFont(m_titleFont, 15);
    CreateChartFont(m_labelFont, 13);
}

CPieChartCtrl::~CPieChartCtrl()
{
    DeletePieces();
    m_titleFont.DeleteObject();
    m_labelFont.DeleteObject();
}

void CPieChartCtrl::DeletePieces()
{
    for (INT_PTR i = 0; i < m_pieces.GetSize(); ++i)
        delete static_cast<CPieChartPiece*>(m_pieces[i]);
    m_pieces.RemoveAll();
}

BOOL CPieChartCtrl::AddPiece(COLORREF fillColor, COLORREF textColor, int size, CString label)
{
    CPieChartPiece* piece = nullptr;
    try {
        piece = new CPieChartPiece;
        piece->m_fillColor = fillColor;
        piece->m_textColor = textColor;
        piece->m_brush.CreateSolidBrush(fillColor);
        piece->m_size = size;
        piece->m_label = label;
        m_pieces.Add(piece);
    } catch (const std::bad_alloc&) {
        delete piece;
        return FALSE;
    }
    if (m_hWnd)
        InvalidateRect(nullptr, FALSE);
    return TRUE;
}

void CPieChartCtrl::RemoveAllPieces() { DeletePieces(); }

void CPieChartCtrl::SetTitle(CString title)
{
    m_title = title;
    if (!m_hWnd)
        return;  // laid out when the window comes
    RecalcLayout();
    InvalidateRect(nullptr, FALSE);
}

BOOL CPieChartCtrl::GetPieceColor(int index, COLORREF* color) const
{
    if (!color || index < 0 || m_pieces.IsEmpty())
        return FALSE;
    const INT_PTR at = index < m_pieces.GetSize() ? index : m_pieces.GetUpperBound();
    *color = static_cast<const CPieChartPiece*>(m_pieces[at])->m_fillColor;
    return TRUE;
}

void CPieChartCtrl::RecalcLayout()
{
    CRect client;
    GetClientRect(client);
    int titleHeight = 0;
    if (!m_title.IsEmpty()) {
        CClientDC dc(this);
        CFont* oldFont = dc.SelectObject(&m_titleFont);
        titleHeight = dc.GetTextExtent(m_title).cy;
        if (oldFont)
            dc.SelectObject(oldFont);
    }
    const chart::Rect pie = chart::PieSquare(ToChart(client), titleHeight);
    m_pieRect.SetRect(pie.left, pie.top, pie.right, pie.bottom);
}

CPoint CPieChartCtrl::PointOnPie(long long degrees, double radiusFactor) const
{
    const chart::Point point = chart::PiePoint(ToChart(m_pieRect), degrees, radiusFactor);
    return CPoint(point.x, point.y);
}

void CPieChartCtrl::OnPaint()
{
    if (m_pieRect.IsRectEmpty())
        RecalcLayout();
    CPaintDC paintDc(this);
    CRect client;
    GetClientRect(client);
    CDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(&paintDc) || !bitmap.CreateCompatibleBitmap(&paintDc, client.Width(), client.Height()))
        return;
    CBitmap* oldBitmap = dc.SelectObject(&bitmap);

    dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
    CPen linePen(PS_SOLID, 1, m_lineColor);
    CBrush discBrush(m_discColor);
    CGdiObject* oldPen = dc.SelectStockObject(NULL_PEN);
    CBrush* oldBrush = dc.SelectObject(&discBrush);
    dc.Ellipse(m_pieRect);

    const CPoint centre((m_pieRect.left + m_pieRect.right) / 2, (m_pieRect.top + m_pieRect.bottom) / 2);
    long long angle = m_startAngle;
    CPoint from = PointOnPie(angle);
    int legendRow = 0;
    for (INT_PTR i = 0; i < m_pieces.GetSize(); ++i) {
        auto* piece = static_cast<CPieChartPiece*>(m_pieces[i]);
        angle += piece->m_size;
        const CPoint to = PointOnPie(angle);

        dc.SelectStockObject(NULL_PEN);
        dc.SelectObject(&piece->m_brush);
        // Pie runs counter-clockwise from its first radial: from `to` back to `from` is the slice
        // clockwise from `from`. A whole turn (or none) has nothing to fill.
        if (to != from)
            dc.Pie(m_pieRect, to, from);
        dc.SelectObject(&linePen);
        dc.MoveTo(from);
        dc.LineTo(centre);
        dc.LineTo(to);

        CFont* oldFont = dc.SelectObject(&m_labelFont);
        dc.SetBkMode(TRANSPARENT);
        if (!piece->m_label.IsEmpty()) {
            const int height = dc.GetTextExtent(piece->m_label).cy;
            CRect square(client.right - height, client.top + height * legendRow, client.right,
                         client.top + height * (legendRow + 1));
            dc.FillSolidRect(square, piece->m_fillColor);
            dc.DrawEdge(square, EDGE_SUNKEN, BF_RECT);
            dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
            CRect text(client.left, square.top, square.left - 3, square.bottom);
            dc.DrawText(piece->m_label, text, DT_RIGHT | DT_VCENTER);
            ++legendRow;
        }
        if (const auto percent = chart::SlicePercentText(piece->m_size)) {
            const CPoint middle = PointOnPie(angle - piece->m_size / 2, chart::kLabelRadius);
            const CString text(percent->c_str());
            const CSize extent = dc.GetTextExtent(text);
            dc.SetTextColor(piece->m_textColor);
            dc.TextOut(middle.x - extent.cx / 2, middle.y - extent.cy / 2, text);
        }
        if (oldFont)
            dc.SelectObject(oldFont);
        from = to;
    }

    dc.SelectObject(&linePen);
    dc.SelectStockObject(NULL_BRUSH);
    dc.Ellipse(m_pieRect);

    if (!m_title.IsEmpty()) {
        CFont* oldFont = dc.SelectObject(&m_titleFont);
        dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(1, 1, m_title);
        if (oldFont)
            dc.SelectObject(oldFont);
    }

    paintDc.BitBlt(0, 0, client.Width(), client.Height(), &dc, 0, 0, SRCCOPY);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldBitmap);
}

void CPieChartCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    SetCapture();
    m_dragPoint = point;
    m_dragging = 1;
    CWnd::OnLButtonDown(flags, point);
}

void CPieChartCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (m_dragging) {
        // One pixel to the right turns the pie one degree clockwise, kept within a turn.
        m_startAngle = chart::NormaliseAngle(static_cast<long long>(m_startAngle) + point.x - m_dragPoint.x);
        InvalidateRect(m_pieRect, FALSE);
        m_dragPoint = point;
    }
    CWnd::OnMouseMove(flags, point);
}

void CPieChartCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_dragging) {
        ::ReleaseCapture();
        m_dragging = 0;
    }
    CWnd::OnLButtonUp(flags, point);
}

void CPieChartCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}
