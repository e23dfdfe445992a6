// platform/forms/message_dialog.h
// The class library's message dialog: the text beside the type's icon, a caption naming the type
// and the buttons asked for. The launcher uses the information dialog with one OK button.
#pragma once

#include <string>

enum TMsgDlgType { mtInformation };
enum TMsgDlgButton : unsigned { mbOK = 1 };
using TMsgDlgButtons = unsigned;

constexpr int mrOk = 1;

// The dialog's controls, for those who read it.
constexpr int kMessageDialogTextId = 100;
constexpr int kMessageDialogIconId = 101;

// Modal, owned by the active window of the thread; the text's "\r\n" starts a new line. Returns
// the result of the button pressed (mrOk; also for Escape and the close box).
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
