// Where the image button's picture and caption go, for each alignment, with and without caption,
// pressed or not.
#include "core/skin/image_placement.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

struct Case {
    const char* name;
    int alignment;
    bool hasCaption;
    bool pressed;
    bool checkBox;
    Box image;
    Box caption;
};

// A face of 100 x 40 at (0, 0), a picture of 20 x 10, origin (3, 3), shift (1, 1).
TEST(PlaceImage, PutsThePictureAndCaptionAsTheAlignmentSays)
{
    const Box face = {0, 0, 100, 40};
    const Case cases[] = {
        {"left, no caption: centred", 0, false, false, false, {40, 15, 60, 25}, face},
        {"left, caption: at the origin, caption after it", 0, true, false, false, {3, 15, 23, 25}, {23, 0, 100, 40}},
        {"above, no caption: centred", 1, false, false, false, {40, 15, 60, 25}, face},
        {"above, caption: at origin y, caption below", 1, true, false, false, {40, 3, 60, 13}, {0, 10, 100, 40}},
        {"right, no caption: centred across, at the top", 2, false, false, false, {40, 0, 60, 10}, face},
        {"right, caption: at the right edge", 2, true, false, false, {77, 15, 97, 25}, {3, 0, 77, 40}},
        {"under the caption", 3, true, false, false, {0, 0, 20, 10}, face},
        {"under the caption, no caption", 3, false, false, false, {0, 0, 20, 10}, face},
        {"left, pressed: shifted", 0, false, true, false, {41, 16, 61, 26}, face},
        {"above, caption, pressed: shifted", 1, true, true, false, {41, 4, 61, 14}, {0, 10, 100, 40}},
        {"right, caption, pressed: shifted", 2, true, true, false, {78, 16, 98, 26}, {3, 0, 77, 40}},
        {"under, pressed: shifted", 3, true, true, false, {1, 1, 21, 11}, face},
        {"pressed check box: not shifted", 3, true, true, true, {0, 0, 20, 10}, face},
    };
    for (const Case& c : cases) {
        PlacementInput input;
        input.alignment = c.alignment;
        input.hasCaption = c.hasCaption;
        input.pressed = c.pressed;
        input.checkBox = c.checkBox;
        input.item = face;
        input.caption = face;
        input.origin = {3, 3};
        input.pressedShift = {1, 1};
        input.imageWidth = 20;
        input.imageHeight = 10;
        const ImagePlacement placed = PlaceImage(input);
        EXPECT_EQ(placed.image, c.image) << c.name << ": image " << placed.image.left << "," << placed.image.top;
        EXPECT_EQ(placed.caption, c.caption) << c.name << ": caption " << placed.caption.left << ","
                                             << placed.caption.top << "," << placed.caption.right;
    }
}

TEST(PlaceImage, HalvesTruncateTowardsZeroForAPictureLargerThanTheFace)
{
    PlacementInput input;
    input.alignment = kImageLeftOfCaption;
    input.item = {0, 0, 10, 10};
    input.caption = input.item;
    input.imageWidth = 15;  // (10 - 15) / 2 = -2, not -3
    input.imageHeight = 13;  // (10 - 13) / 2 = -1, not -2
    const ImagePlacement placed = PlaceImage(input);
    EXPECT_EQ(placed.image.left, -2);
    EXPECT_EQ(placed.image.top, -1);
}

TEST(PlaceImage, ThePressStyleOfTwoPixelsDownMovesOnlyDown)
{
    PlacementInput input;
    input.alignment = kImageUnderCaption;
    input.item = {0, 0, 30, 30};
    input.caption = input.item;
    input.pressed = true;
    input.pressedShift = {0, 2};
    input.imageWidth = input.imageHeight = 8;
    EXPECT_EQ(PlaceImage(input).image, (Box{0, 2, 8, 10}));
}

}  // namespace
}  // namespace skin
