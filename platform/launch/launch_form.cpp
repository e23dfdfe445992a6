// platform/launch/launch_form.cpp
#include "platform/launch/launch_form.h"

void ApplyLaunchFormLook(TForm& form, int width, int height)
{
    form.Caption = "Vexmend";
    form.Width = width;
    form.Height = height;
    form.BorderIcons = 0;
    form.Position = poDesktopCenter;
    form.Color = clBtnFace;
    form.Font.Name = "MS Sans Serif";
    form.Font.Height = -11;
}
