// core/skin/font_height.h
// Font heights as the skin controls give them to LOGFONT.
#pragma once

namespace skin {

// number * numerator / denominator rounded half away from zero, as Windows' MulDiv does; -1 for
// a denominator of 0.
int MulDivRounded(int number, int numerator, int denominator);

// The LOGFONT height of a font of the given size in points on a device of the given dots per
// inch: negative, so that it is the character height: 12 pt at 96 dpi is -16, at 120 dpi -20.
int PointSizeToHeight(int points, int dotsPerInch);

}  // namespace skin
