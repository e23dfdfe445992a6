// platform/launch/launch_form.h
// The look of the one small form the launcher and the dispatcher each show while they work:
// captioned "Vexmend", without caption icons, in the desktop's centre, in the button face colour
// with 8-point "MS Sans Serif".
#pragma once

#include "platform/forms/forms.h"

// `width` and `height` are the outer size.
void ApplyLaunchFormLook(TForm& form, int width, int height);
