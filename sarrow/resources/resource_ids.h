// sarrow/resources/resource_ids.h
// Numbers of the generated resources that Sarrow's code names (the skin bitmaps and the icon go
// by the numbers 128-149 the dialogs use). Plain #defines: the resource compiler reads this too.
#pragma once

#define SARROW_ISP_IMAGE_RESOURCE 300
