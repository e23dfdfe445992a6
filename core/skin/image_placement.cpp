// core/skin/image_placement.cpp
#include "core/skin/image_placement.h"

namespace skin {

ImagePlacement PlaceImage(const PlacementInput& in)
{
    const int w = in.imageWidth;
    const int h = in.imageHeight;
    const Box& item = in.item;
    int left = item.left;
    int top = item.top;
    Box caption = in.caption;
    auto centreHorizontally = [&] { left += (item.Width() - w) / 2; };
    auto centreVertically = [&] { top += (item.Height() - h) / 2; };

    switch (in.alignment) {
    case kImageLeftOfCaption:
        if (in.hasCaption) {
            left += in.origin.x;
            caption.left += in.origin.x + w;
        } else {
            centreHorizontally();
        }
        centreVertically();
        break;
    case kImageAboveCaption:
        centreHorizontally();
        if (in.hasCaption) {
            top = item.top + in.origin.y;
            caption.top += h;
        } else {
            centreVertically();
        }
        break;
    case kImageRightOfCaption:
        if (in.hasCaption) {
            const int captionWidth = caption.Width();
            caption.right = captionWidth - w - in.origin.x;
            caption.left = in.origin.x;
            left = item.right - w - in.origin.x;
            centreVertically();
        } else {
            centreHorizontally();  // the picture stays at the top
        }
        break;
    default:  // under the caption: the picture at the face's top-left, the caption keeps the face
        break;
    }
    if (in.pressed && !in.checkBox) {
        left += in.pressedShift.x;
        top += in.pressedShift.y;
    }
    return {{left, top, left + w, top + h}, caption};
}

}  // namespace skin
