// brimlet/skin/buffer_dc.h
// CBufferDC: an off-screen surface that a paint handler draws into instead of its target DC; it
// copies itself to the target in one BitBlt when it goes out of scope. A printer target (or one
// the buffer cannot be made for) is drawn on directly.
#pragma once

#include "platform/dialogs/dialogs.h"

class CBufferDC : public CDC
{
    DECLARE_DYNAMIC(CBufferDC)
public:
    // Covers the rectangle (logical units of the target), with the target's map mode and extents.
    // With copyBackground the buffer starts as the target's pixels there, else filled with the
    // target's background colour.
    CBufferDC(CDC* target, const RECT& rect, BOOL copyBackground);
    // Covers the target's clip box and starts unfilled: the caller paints all of it.
    explicit CBufferDC(CDC* target);
    ~CBufferDC() override;

    CBufferDC(const CBufferDC&) = delete;
    CBufferDC& operator=(const CBufferDC&) = delete;

    // The covered rectangle, logical units of the target.
    const CRect& GetRect() const { return m_rect; }
    // FALSE when the buffer draws on the target directly.
    BOOL IsBuffered() const { return m_memoryDc; }

private:
    // Makes the memory DC and its bitmap for m_rect (device units); FALSE leaves none made.
    BOOL CreateSurface(int width, int height);
    void ShareTarget();

    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_target;
    CRect m_rect;
    BOOL m_memoryDc = FALSE;
};
