// quillet/main_form.cpp
#include "quillet/main_form.h"

#include "platform/launch/launch_form.h"
#include "quillet/dispatcher.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm1(owner, SystemStartSeams()) {}

TForm1::TForm1(TComponent* owner, const StartSeams& start) : TForm(owner), start_(start)
{
    ApplyLaunchFormLook(*this, 184, 28);
    OnShow = [this](TObject* sender) { FormShow(sender); };
}

void TForm1::FormShow(TObject*)
{
    ProbeDevices();
    const DeviceKind kind = GetDetectedKind();
    const ToolIndex tool = probe::ChooseTool(kind, [] { return DetectByHardwareId(); });

    const std::string folder = WorkFolderOrRaise({kDiskIniFileName, kToolFileName});
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::SetCurrentDirectoryA(folder.c_str());

    HINSTANCE instance = Application->Instance();
    if (tool == ToolIndex::ExeSmi)
        TResourceStream(instance, "INISMI", "INIFILE").SaveToFile(folder + kDiskIniFileName);
    const std::string toolPath = folder + kToolFileName;
    TResourceStream(instance, probe::ToolResourceName(tool), "EXEFILE").SaveToFile(toolPath);

    StartHidden(start_, kStartPause, Handle(), toolPath, nullptr);
    Close();
}
