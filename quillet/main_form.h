// quillet/main_form.h
// Quillet's one form: its OnShow handler probes the drive, writes the matching tool into the
// work folder, starts it and closes the form, which ends the program.
#pragma once

#include "platform/forms/forms.h"
#include "platform/launch/work_folder.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner);
    // `start`: the pause and the shell the start of the tool goes through (tests give their own).
    TForm1(TComponent* owner, const StartSeams& start);
    void FormShow(TObject* sender);
    const char* ClassName() const override { return "TForm1"; }

private:
    StartSeams start_;
};

extern TForm1* Form1;

// The file names in the work folder.
constexpr char kToolFileName[] = "QuilletV1.00.exe";
constexpr char kDiskIniFileName[] = "Disk.ini";
// The pause before the tool starts, in milliseconds.
constexpr DWORD kStartPause = 2000;
