// vexmend/main_form.h
// Vexmend's one form: its constructor does the whole launch (admission, work folder, the three
// carried files, the hidden start of Quillet); its OnShow handler closes it, which ends the
// program.
#pragma once

#include <functional>

#include "platform/forms/forms.h"
#include "platform/launch/work_folder.h"

class TForm1 : public TForm {
public:
    // What the launch asks of the system besides the Windows version and the files: the rights
    // test and the start of Quillet. Tests give their own.
    struct Seams {
        std::function<bool()> isUserAdministrator;
        StartSeams start;
    };
    // The system's rights test, pause and shell.
    static Seams SystemSeams();

    explicit TForm1(TComponent* owner);
    TForm1(TComponent* owner, const Seams& seams);
    void FormShow(TObject* sender);
    // Attached to no event.
    void FormCreate(TObject* sender);
    const char* ClassName() const override { return "TForm1"; }
};

extern TForm1* Form1;

// The texts of the two refusals (the Chinese line follows after a line break).
extern const char kVersionMessage[];
extern const char kAdministratorMessage[];
// The pause before Quillet starts, in milliseconds.
constexpr DWORD kStartPause = 3000;
