// core/skin/image_placement.h
// Where an image button puts its picture and its caption on the face.
#pragma once

#include "core/geometry/rect.h"

namespace skin {

using Box = core::Rect;
using Offset = core::Point;

// How the picture and the caption share the face.
enum ImageAlignment : int {
    kImageLeftOfCaption = 0,
    kImageAboveCaption = 1,
    kImageRightOfCaption = 2,
    kImageUnderCaption = 3,  // the picture at the top-left corner, the caption over the whole face
};

struct ImagePlacement {
    Box image;    // the picture's own size at its place
    Box caption;  // where the caption is centred
};

struct PlacementInput {
    int alignment = kImageRightOfCaption;
    bool hasCaption = false;
    bool pressed = false;   // the item is drawn pressed
    bool checkBox = false;  // check boxes show their state by the picture alone, not by a shift
    Box item;               // the face
    Box caption;            // the caption's rectangle so far (the face, when drawing starts)
    Offset origin;          // inset of the picture when a caption shares the face
    Offset pressedShift;    // offset of a pressed push button's picture
    int imageWidth = 0;
    int imageHeight = 0;
};

// Halvings are integer and truncate towards zero, so a picture larger than the face starts left
// of or above it.
ImagePlacement PlaceImage(const PlacementInput& input);

}  // namespace skin
