// platform/dialogs/dialogs.h
// The C-prefixed dialog class library in one include.
#pragma once

#include "platform/dialogs/app.h"
#include "platform/dialogs/controls.h"
#include "platform/dialogs/cstring.h"
#include "platform/dialogs/dialog.h"
#include "platform/dialogs/file.h"
#include "platform/dialogs/gdi.h"
#include "platform/dialogs/geometry.h"
#include "platform/dialogs/object.h"
#include "platform/dialogs/wnd.h"
