// vexmend/main_form.cpp
#include "vexmend/main_form.h"

#include "core/launch/work_folder.h"
#include "platform/launch/launch_form.h"
#include "platform/launch/work_folder.h"
#include "vexmend/launcher.h"
#include "vexmend/vexmend_texts.h"

TForm1* Form1 = nullptr;

const char kVersionMessage[] = "The application only runs on Windows XP and Vista.";
const char kAdministratorMessage[] = "Please log in as administrator to run this utility.";

namespace {

// The carried files, in the order they are written.
struct CarriedFile {
    const char* type;
    const char* name;
    const char* fileName;
};
constexpr CarriedFile kCarriedFiles[] = {
    {"DLLFILE", "DLL16x", "REZO.dll"},
    {"DLLFILE", "DLLMSVC", "msvcp60.dll"},
    {"EXEFILE", "EXELF", "Quillet.exe"},
};

bool IsLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

void Refuse(const char* english, const char* chinese)
{
    MessageDlg(std::string(english) + "\r\n" + chinese, mtInformation, mbOK, 0);
}

}  // namespace

TForm1::Seams TForm1::SystemSeams()
{
    return {[] { return IsUserAdministrator(); }, SystemStartSeams()};
}

TForm1::TForm1(TComponent* owner) : TForm1(owner, SystemSeams()) {}

TForm1::TForm1(TComponent* owner, const Seams& seams) : TForm(owner)
{
    ApplyLaunchFormLook(*this, 154, 29);
    OnShow = [this](TObject* sender) { FormShow(sender); };

    WindowsVersionClass versionClass = WindowsVersionClass::NotDetermined;
    GetWindowsVersionClass(versionClass);
    if (!launch::IsAdmittedWindows(versionClass)) {
        Refuse(kVersionMessage, kVersionMessageChinese);
        return;
    }
    if (!seams.isUserAdministrator()) {
        Refuse(kAdministratorMessage, kAdministratorMessageChinese);
        return;
    }

    const std::string folder = WorkFolderOrRaise({"REZO.dll", "msvcp60.dll", "Quillet.exe"});
    ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const CarriedFile& file : kCarriedFiles) {
        TResourceStream stream(Application->Instance(), file.name, file.type);
        stream.SaveToFile(folder + file.fileName);
    }

    const std::string parameters =
        launch::ParameterText(GetCurrentDir(), Application->ExeName(), launch::kPathCapacity, IsLeadByte);
    StartHidden(seams.start, kStartPause, Handle(), folder + "Quillet.exe", parameters.c_str());
}

void TForm1::FormShow(TObject*) { Close(); }

void TForm1::FormCreate(TObject*) {}
