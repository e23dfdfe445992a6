// quillet/main_form.cpp
#include "quillet/main_form.h"

#include "platform/launch/launch_form.h"
#include "platform/launch/work_folder.h"
#include "quillet/dispatcher.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* owner) : TForm(owner)
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

    ::Sleep(kStartPause);
    StartHidden(Handle(), toolPath, nullptr);
    Close();
}
