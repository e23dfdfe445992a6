// Brimlet's repair dialog as a real window under Wine, against the simulating REZO.dll beside the
// test program: the bar while the library holds at 100, the bad-block text and pie slice at the
// end, the end of a repair whose library never reports the final state, one repair per run
// whatever is pressed, device notices at every stage, and closing while the library repairs.
#include <windows.h>

#include <dbt.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "brimlet/agreement_dialog.h"
#include "brimlet/library_loader.h"
#include "brimlet/message_dialog.h"
#include "brimlet/repair_app.h"
#include "brimlet/repair_dialog.h"
#include "brimlet/resource.h"
#include "brimlet/skin/pie_chart_ctrl.h"
#include "brimlet/splash_dialog.h"
#include "rezo/rezo_sim.h"
#include "tests/windows/brimlet/modal_script.h"
#include "tests/windows/brimlet/repair_run.h"
#include "tests/windows/support/files.h"

namespace {

using brimlet_test::Click;
using brimlet_test::FindDialog;
using brimlet_test::PressKey;
using brimlet_test::RepairRun;
using brimlet_test::RunRepairDialog;
using brimlet_test::TextOf;
using brimlet_test::ThreadPoller;
using test_support::ProgramFolder;

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// The simulated device of one test: its profile and call log in a folder of their own, named to
// the library through REZO_SIM_PROFILE; Device.ini beside the program.
class SimulatedDevice
{
public:
    explicit SimulatedDevice(const std::string& profile, const std::string& selectDevice = "UT163")
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        static int count = 0;
        m_folder = std::string(temp) + "brimlet-repair-" + std::to_string(::GetCurrentProcessId()) + "-" +
                   std::to_string(++count) + "\\";
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        // Wine hands process ids out again: a folder of an earlier run may be there.
        ::DeleteFileA((m_folder + "calls.log").c_str());
        WriteFile(m_folder + "device.profile", "log = calls.log\r\n" + profile);
        ::SetEnvironmentVariableA(kRezoSimProfileVariable, (m_folder + "device.profile").c_str());
        WriteFile(ProgramFolder() + "Device.ini", "[Device]\r\nSelectDevice=" + selectDevice + "\r\n");
    }

    std::string Log() const
    {
        std::ifstream in(m_folder + "calls.log", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The log's lines of one function, in order.
    std::vector<std::string> Calls(const std::string& function) const
    {
        std::vector<std::string> lines;
        std::istringstream in(Log());
        for (std::string line; std::getline(in, line);) {
            if (line.find(" " + function + "(") != std::string::npos)
                lines.push_back(line);
        }
        return lines;
    }

private:
    std::string m_folder;
};

// Reads the bar's position the way the dialog set it.
struct SliderAccess : CBitmapSlider {
    static int Position(const CBitmapSlider& slider) { return slider.*(&SliderAccess::m_position); }
};

int BarPosition(HWND repair)
{
    auto* slider = dynamic_cast<CBitmapSlider*>(CWnd::FromHandlePermanent(::GetDlgItem(repair, IDC_PROGRESS)));
    return slider ? SliderAccess::Position(*slider) : -1;
}

// Closes every standard message box that opens and counts them; a poller of its own, so that it
// runs also while a step waits in a box's modal loop.
class StrayBoxes
{
public:
    StrayBoxes()
        : m_poller([this] {
              if (HWND box = brimlet_test::FindMessageBox()) {
                  m_texts.push_back(std::string(TextOf(::GetDlgItem(box, 0xFFFF))));
                  ::PostMessageA(box, WM_COMMAND, IDOK, 0);
              }
              return false;
          })
    {
    }
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    std::vector<std::string> m_texts;
    ThreadPoller m_poller;
};

HWND VisibleMessage()
{
    CMessageDialog* message = FindDialog<CMessageDialog>();
    return message ? message->m_hWnd : nullptr;
}

// Reads the pie's slices the way the dialog added them.
struct PieAccess : CPieChartCtrl {
    static const CObArray& Pieces(const CPieChartCtrl& pie) { return pie.*(&PieAccess::m_pieces); }
};

struct Slice {
    COLORREF colour;
    int degrees;
};

std::vector<Slice> PieSlices(HWND repair)
{
    std::vector<Slice> slices;
    auto* pie = dynamic_cast<CPieChartCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(repair, IDC_PIE_CHART)));
    if (!pie)
        return slices;
    const CObArray& pieces = PieAccess::Pieces(*pie);
    for (INT_PTR i = 0; i < pieces.GetSize(); ++i) {
        if (auto* piece = dynamic_cast<CPieChartPiece*>(pieces.GetAt(i)))
            slices.push_back({piece->m_fillColor, piece->m_size});
    }
    return slices;
}

// What the dialog shows once a repair has ended: read when the result message opens.
struct RepairEnd {
    bool resultShown = false;
    int bar = -1;
    CString badBlockText;
    std::vector<Slice> slices;
    CString resultText;
    bool gaveUp = false;  // no result came while the library had long returned
};

// Presses Repair and waits for the result message; gives up (Close) when none comes within 20 s
// of the library's return from the repair. `whileWaiting` sees the dialog on every poll before.
RepairEnd RunOneRepair(const SimulatedDevice& device, const std::function<void(HWND repair)>& whileWaiting = {})
{
    constexpr DWORD kPatience = 20000;
    RepairEnd end;
    bool pressed = false;
    DWORD returnedAt = 0;
    const RepairRun run = RunRepairDialog([&](HWND repair) {
        if (!repair)
            return false;
        if (!pressed) {
            Click(repair, IDOK);
            pressed = true;
            return false;
        }
        if (HWND message = VisibleMessage()) {
            end.resultShown = true;
            end.bar = BarPosition(repair);
            end.badBlockText = TextOf(::GetDlgItem(repair, IDC_BAD_BLOCK_TEXT));
            end.slices = PieSlices(repair);
            end.resultText = TextOf(::GetDlgItem(message, IDC_MESSAGE_TEXT));
            Click(message, IDC_CLOSE_BUTTON);
            return true;
        }
        if (whileWaiting)
            whileWaiting(repair);
        // One log line when the repair starts, one when it returns.
        if (!returnedAt && device.Calls("REZO_RunRepairDevice").size() >= 2)
            returnedAt = ::GetTickCount();
        if (returnedAt && ::GetTickCount() - returnedAt > kPatience) {
            end.gaveUp = true;
            Click(repair, IDCANCEL);
            return true;
        }
        return false;
    });
    EXPECT_EQ(run.result, end.gaveUp ? IDCANCEL : 2);
    return end;
}

TEST(RepairDialog, TheBarStopsAt99UntilTheStateReadsFinishedThenShows100)
{
    SimulatedDevice device("progress_step = 25\r\nstep_ms = 60\r\nfinish_ms = 1500\r\nerror_code = 0x10\r\n");
    std::vector<int> whileRunning;
    const RepairEnd end = RunOneRepair(device, [&](HWND repair) {
        if (RepairState().busy)
            whileRunning.push_back(BarPosition(repair));
    });
    ASSERT_TRUE(end.resultShown);
    ASSERT_FALSE(whileRunning.empty());
    EXPECT_EQ(*std::max_element(whileRunning.begin(), whileRunning.end()), 99);
    // The library held at 100 for 1.5 s: the bar showed 99 all that time.
    EXPECT_GE(std::count(whileRunning.begin(), whileRunning.end(), 99), 20);
    EXPECT_EQ(end.bar, 100);
    EXPECT_STREQ(end.resultText, "Repair complete, Please un-plug device");
    EXPECT_EQ(device.Calls("REZO_GetBADBlockInfomation").size(), 1u);
}

TEST(RepairDialog, AfterARepairTheBadBlockTextAndThePieSliceShowTheShare)
{
    const struct {
        const char* blocks;  // the profile's bad_blocks, total_blocks and block_unit
        int degrees;
        const char* text;
    } cases[] = {
        {"bad_blocks = 100\r\ntotal_blocks = 1000\r\nblock_unit = 1\r\n", 36, "Bad Blocks : 10.00 %"},
        // At most total / unit blocks count: 250 of 1000.
        {"bad_blocks = 900\r\ntotal_blocks = 1000\r\nblock_unit = 4\r\n", 90, "Bad Blocks : 25.00 %"},
        // No total: the share of 1536.
        {"bad_blocks = 768\r\ntotal_blocks = 0\r\nblock_unit = 1\r\n", 180, "Bad Blocks : 50.00 %"},
    };
    for (const auto& c : cases) {
        SimulatedDevice device(std::string("progress_step = 50\r\nstep_ms = 30\r\nfinish_ms = 30\r\n") + c.blocks);
        const RepairEnd end = RunOneRepair(device);
        ASSERT_TRUE(end.resultShown) << c.blocks;
        EXPECT_STREQ(end.badBlockText, c.text) << c.blocks;
        ASSERT_EQ(end.slices.size(), 1u) << c.blocks;
        EXPECT_EQ(end.slices[0].colour, RGB(255, 0, 0)) << c.blocks;
        EXPECT_EQ(end.slices[0].degrees, c.degrees) << c.blocks;
        EXPECT_EQ(end.bar, 100);
        EXPECT_STREQ(end.resultText, "Repair complete, Please un-plug device");
    }
}

TEST(RepairDialog, ALibraryThatReturnsWithoutTheFinalStateEndsTheRepairByItsReturn)
{
    const struct {
        const char* errorCode;
        const char* text;
    } cases[] = {
        {"0x10", "Repair complete, Please un-plug device"},
        {"0x4", "Repair fail, ErrCode=0x4\n"},
    };
    for (const auto& c : cases) {
        // The state stays "running" (0x01) after the library returns.
        SimulatedDevice device(std::string("progress_step = 50\r\nstep_ms = 30\r\nfinish_ms = 30\r\n"
                                           "final_state = 0x01\r\nbad_blocks = 41\r\ntotal_blocks = 410\r\n"
                                           "error_code = ") + c.errorCode + "\r\n");
        const RepairEnd end = RunOneRepair(device);
        ASSERT_FALSE(end.gaveUp) << c.errorCode << ": the dialog went on polling after the library returned";
        ASSERT_TRUE(end.resultShown) << c.errorCode;
        EXPECT_STREQ(end.resultText, c.text);
        EXPECT_EQ(end.bar, 100);
        EXPECT_STREQ(end.badBlockText, "Bad Blocks : 10.00 %");
        ASSERT_EQ(end.slices.size(), 1u);
        EXPECT_EQ(end.slices[0].degrees, 36);
        EXPECT_EQ(device.Calls("REZO_GetErrorCode").size(), 1u) << device.Log();
        EXPECT_EQ(device.Calls("REZO_GetBADBlockInfomation").size(), 1u);
        EXPECT_FALSE(RepairState().busy);
    }
}

TEST(RepairDialog, PressingAgainWhileBusyRunsOneRepairWithTheFamilyAndFlagsOnce)
{
    const struct {
        const char* selectDevice;
        int chip;
        const char* mode;
    } cases[] = {
        {"UT163", 355, "mode=0xC0"}, {"UT1600", 355, "mode=0xC3"}, {"BCD", 353, "mode=0x41"},
        {"FP", 355, "mode=0xC2"},    {"ut160", 355, "mode=0xC0"},
    };
    for (const auto& c : cases) {
        SimulatedDevice device("progress_step = 20\r\nstep_ms = 80\r\nchip_id = " + std::to_string(c.chip) + "\r\n",
                               c.selectDevice);
        int presses = 0;
        const RepairRun run = RunRepairDialog([&](HWND repair) {
            if (!repair)
                return false;
            if (HWND message = VisibleMessage()) {
                Click(message, IDC_CLOSE_BUTTON);
                return true;
            }
            switch (presses++) {
            case 0: Click(repair, IDOK); break;
            case 2: Click(repair, IDOK); break;
            case 4: PressKey(repair, VK_RETURN); break;
            case 6:
                ::PostMessageA(repair, WM_COMMAND, MAKEWPARAM(IDOK, BN_DOUBLECLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(repair, IDOK)));
                break;
            case 8: Click(repair, IDOK); break;
            default: break;
            }
            return false;
        });
        EXPECT_EQ(run.result, 2) << c.selectDevice;
        const auto repairs = device.Calls("REZO_RunRepairDevice");
        // One call when it starts, one when it returns.
        ASSERT_EQ(repairs.size(), 2u) << c.selectDevice << "\n" << device.Log();
        EXPECT_NE(repairs[0].find(c.mode), std::string::npos) << repairs[0];
        EXPECT_NE(repairs[0].find("-> running"), std::string::npos) << repairs[0];
    }
}

TEST(RepairDialog, DeviceNoticesBeforeTheDeviceIsOpenedAreIgnored)
{
    SimulatedDevice device("present = no\r\n");
    LRESULT answer = 0;
    bool sent = false;
    CString message;
    StrayBoxes strayBoxes;
    const RepairRun run = RunRepairDialog(
        [&](HWND) {
            if (HWND box = VisibleMessage()) {
                message = TextOf(::GetDlgItem(box, IDC_MESSAGE_TEXT));
                Click(box, IDC_CLOSE_BUTTON);
                return true;
            }
            return false;
        },
        [&] {
            // While the licence shows, the repair dialog exists, hidden, without a device handle.
            if (CRepairManagerDialog* repair = FindDialog<CRepairManagerDialog>(false)) {
                answer = ::SendMessageA(repair->m_hWnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
                sent = true;
            }
        });
    ASSERT_TRUE(sent);
    EXPECT_TRUE(strayBoxes.Texts().empty()) << strayBoxes.Texts().front();
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(run.result, 2);
    EXPECT_STREQ(message, "Device not found, please insert device");
    // The library's first call is the device's creation: nothing asked about the device before.
    const std::string log = device.Log();
    const std::size_t create = log.find("REZO_CreateCUSBDevice(");
    ASSERT_NE(create, std::string::npos) << log;
    EXPECT_EQ(log.find("REZO_DeviceExist("), log.find("REZO_DeviceExist(", create)) << log;
}

TEST(RepairDialog, ClosingWhileTheLibraryRepairsWaitsForItBeforeReleasingTheLibrary)
{
    SimulatedDevice device("progress_step = 5\r\nstep_ms = 100\r\n");
    int step = 0;
    const RepairRun run = RunRepairDialog([&](HWND repair) {
        if (!repair)
            return false;
        if (step == 0) {
            Click(repair, IDOK);
            step = 1;
        } else if (step == 1 && !device.Calls("REZO_RunRepairDevice").empty()) {
            Click(repair, IDCANCEL);
            step = 2;
            return true;
        }
        return false;
    });
    EXPECT_EQ(run.result, IDCANCEL);
    // Destroying the dialog waited for the repair's remaining seconds, and the library saw the
    // repair to its end before it went.
    EXPECT_GT(run.destroyMilliseconds, 500u);
    const auto repairs = device.Calls("REZO_RunRepairDevice");
    ASSERT_EQ(repairs.size(), 2u) << device.Log();
    EXPECT_NE(repairs[1].find("-> 0 state=0xFF"), std::string::npos) << repairs[1];
    EXPECT_TRUE(device.Calls("REZO_GetErrorCode").empty()) << "no result was reported";
}

TEST(RepairDialog, ARemovalWhileTheResultShowsOpensNoSecondBox)
{
    SimulatedDevice device("progress_step = 50\r\nstep_ms = 50\r\nfinish_ms = 50\r\nremoval = after\r\n");
    bool pressed = false;
    bool busyWhileShown = false;
    LRESULT answer = 0;
    int polls = 0;
    StrayBoxes strayBoxes;
    const RepairRun run = RunRepairDialog([&](HWND repair) {
        if (!pressed) {
            if (repair) {
                Click(repair, IDOK);
                pressed = true;
            }
            return false;
        }
        HWND message = VisibleMessage();
        if (!message)
            return false;
        if (polls++ == 0) {
            busyWhileShown = RepairState().busy != FALSE;
            if (CRepairManagerDialog* dialog = FindDialog<CRepairManagerDialog>(false))
                answer = ::SendMessageA(dialog->m_hWnd, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
            return false;
        }
        if (polls < 20)
            return false;
        Click(message, IDC_CLOSE_BUTTON);
        return true;
    });
    EXPECT_EQ(run.result, 2);
    EXPECT_TRUE(strayBoxes.Texts().empty()) << "a box opened over the result: " << strayBoxes.Texts().front();
    EXPECT_TRUE(busyWhileShown);
    EXPECT_EQ(answer, TRUE);
    EXPECT_FALSE(RepairState().busy);
    EXPECT_EQ(device.Calls("REZO_DeviceExist").size(), 1u) << "the presence was tested again";
}

TEST(RepairDialog, ARemovalWhileIdleEndsTheDialogWithAPlainMessageBox)
{
    SimulatedDevice device("removal = idle 300\r\n");
    CString text;
    bool hidden = false;
    const RepairRun run = RunRepairDialog([&](HWND repair) {
        HWND box = brimlet_test::FindMessageBox();
        if (!box)
            return false;
        text = TextOf(::GetDlgItem(box, 0xFFFF));
        CRepairManagerDialog* dialog = FindDialog<CRepairManagerDialog>(false);
        hidden = dialog && !::IsWindowVisible(dialog->m_hWnd);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_EQ(run.result, 2);
    EXPECT_STREQ(text, "Device not found, please insert device");
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(device.Calls("REZO_RunRepairDevice").empty());
}

TEST(RepairDialog, RefusedChipsEndItWithTheirMessage)
{
    const struct {
        int chip;
        int version;
        DWORD build;
        const char* text;  // nullptr: not refused
    } cases[] = {
        {360, 1, 2600, "The Recovery Utility do not support this device."},
        {353, 17, 7601, "User can not use this tool in Windows Vista, please use it in Windows 2000/XP."},
        {353, 17, 2600, nullptr},
    };
    for (const auto& c : cases) {
        SimulatedDevice device("chip_id = " + std::to_string(c.chip) + "\r\nchip_version = " +
                               std::to_string(c.version) + "\r\n");
        GetRepairManagerApp()->m_osBuildNumber = c.build;
        CString text;
        bool repairShown = false;
        const RepairRun run = RunRepairDialog([&](HWND repair) {
            if (repair) {
                repairShown = true;
                Click(repair, IDCANCEL);
                return true;
            }
            HWND box = brimlet_test::FindMessageBox();
            if (!box)
                return false;
            text = TextOf(::GetDlgItem(box, 0xFFFF));
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        });
        EXPECT_EQ(run.result, 2) << c.chip;
        if (c.text) {
            EXPECT_STREQ(text, c.text);
            EXPECT_FALSE(repairShown);
        } else {
            EXPECT_TRUE(repairShown);
        }
    }
    GetRepairManagerApp()->m_osBuildNumber = 0;
}

TEST(LibraryLoader, BindsByNameOnceAndSkipsWhatIsMissing)
{
    SimulatedDevice device("");
    {
        CLibraryLoader missing("NoSuchLibraryAnywhere");
        BOOL bound = TRUE;
        EXPECT_EQ(missing.REZO_CreateCUSBDevice(&bound), 0u);
        EXPECT_FALSE(bound);
        EXPECT_EQ(missing.REZO_GetErrorCode(1), 0u);
        EXPECT_FALSE(missing.IsLoaded());
    }
    CLibraryLoader loader("REZO");
    BOOL bound = FALSE;
    const RezoDeviceHandle handle = loader.REZO_CreateCUSBDevice(&bound);
    EXPECT_TRUE(bound);
    EXPECT_TRUE(loader.IsLoaded());
    EXPECT_EQ(loader.REZO_DeviceExist(handle), 1);
    CLibraryLoader::Slot slot;
    EXPECT_EQ(loader.Resolve(slot, "REZO_NoSuchFunction"), nullptr);
    EXPECT_EQ(slot.state, CLibraryLoader::kMissing);
    loader.FreeLibrary();
    EXPECT_FALSE(loader.IsLoaded());
    // Released: nothing is called or loaded again.
    EXPECT_EQ(loader.REZO_DeviceExist(handle, &bound), 0);
    EXPECT_FALSE(bound);
    EXPECT_FALSE(loader.IsLoaded());
    EXPECT_EQ(device.Calls("REZO_DeviceExist").size(), 1u);
}

}  // namespace
