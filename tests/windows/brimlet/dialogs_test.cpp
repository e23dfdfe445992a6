// Brimlet's message, licence and splash dialogs as real windows under Wine: their texts, results,
// layout and pictures, driven from inside their modal loops.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "brimlet/agreement_dialog.h"
#include "brimlet/message_dialog.h"
#include "brimlet/resource.h"
#include "brimlet/splash_dialog.h"
#include "tests/windows/brimlet/modal_script.h"
#include "tests/windows/brimlet/skin_pictures.h"
#include "tests/windows/brimlet/test_language.h"

namespace {

using brimlet_test::ChildRect;
using brimlet_test::Click;
using brimlet_test::FindDialog;
using brimlet_test::PressKey;
using brimlet_test::TextOf;
using brimlet_test::ThreadPoller;

// --- message dialog -------------------------------------------------------------------------

struct MessageSeen {
    bool shown = false;
    CString text;
    double successPicture = 0;
    double errorPicture = 0;
    RECT client = {};
    RECT label = {};
    RECT close = {};
    RECT minimise = {};
};

TEST(MessageDialog, ShowsItsTextOverTheResultPictureAndClosesByItsButton)
{
    const struct {
        const char* text;
        BOOL error;
    } cases[] = {
        {"Repair complete, Please un-plug device", FALSE},
        {"Repair fail, ErrCode=0x4\n", TRUE},
    };
    for (const auto& c : cases) {
        MessageSeen seen;
        ThreadPoller poller([&] {
            CMessageDialog* dialog = FindDialog<CMessageDialog>();
            if (!dialog)
                return false;
            HWND window = dialog->m_hWnd;
            seen.shown = true;
            seen.text = TextOf(::GetDlgItem(window, IDC_MESSAGE_TEXT));
            seen.successPicture = brimlet_test::BackgroundMatches(window, IDB_MESSAGE_SUCCESS);
            seen.errorPicture = brimlet_test::BackgroundMatches(window, IDB_MESSAGE_ERROR);
            ::GetClientRect(window, &seen.client);
            seen.label = ChildRect(window, IDC_MESSAGE_TEXT);
            seen.close = ChildRect(window, IDC_CLOSE_BUTTON);
            seen.minimise = ChildRect(window, IDC_MINIMISE_BUTTON);
            Click(window, IDC_CLOSE_BUTTON);
            return true;
        });
        EXPECT_EQ(ShowMessageDialog(c.text, c.error), 0);
        ASSERT_TRUE(seen.shown) << c.text;
        // The text as given, its line feed included.
        EXPECT_STREQ(seen.text, c.text);
        if (c.error) {
            EXPECT_GT(seen.errorPicture, 0.99);
            EXPECT_LT(seen.successPicture, 0.9);
        } else {
            EXPECT_GT(seen.successPicture, 0.99);
            EXPECT_LT(seen.errorPicture, 0.9);
        }
        const int cx = seen.client.right;
        const int cy = seen.client.bottom;
        EXPECT_EQ(seen.label.left, 200);
        EXPECT_EQ(seen.label.top, 100);
        EXPECT_EQ(seen.label.right - seen.label.left, cx - 220);
        EXPECT_EQ(seen.label.bottom - seen.label.top, cy - 120);
        EXPECT_EQ(seen.close.left, cx - 65);
        EXPECT_EQ(seen.close.top, 16);
        EXPECT_EQ(seen.minimise.left, cx - 118);
        EXPECT_EQ(seen.minimise.top, 16);
    }
}

TEST(MessageDialog, TheMinimiseButtonMinimisesTheBoxItself)
{
    bool minimised = false;
    int step = 0;
    ThreadPoller poller([&] {
        CMessageDialog* dialog = FindDialog<CMessageDialog>(false);
        if (!dialog)
            return false;
        switch (step++) {
        case 0:
            Click(dialog->m_hWnd, IDC_MINIMISE_BUTTON);
            return false;
        case 1:
            return false;
        default:
            minimised = ::IsIconic(dialog->m_hWnd) != FALSE;
            Click(dialog->m_hWnd, IDC_CLOSE_BUTTON);
            return true;
        }
    });
    EXPECT_EQ(ShowMessageDialog("text", FALSE), 0);
    EXPECT_TRUE(minimised);
}

// --- licence dialog -------------------------------------------------------------------------

// A folder of its own holding the licence files, made the current folder for the test.
class LicenceFolder
{
public:
    LicenceFolder()
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_folder.Format("%sbrimlet-licence-%lu", temp, ::GetCurrentProcessId());
        ::CreateDirectoryA(m_folder, nullptr);
        ::GetCurrentDirectoryA(MAX_PATH, m_previous);
        ::SetCurrentDirectoryA(m_folder);
    }
    ~LicenceFolder()
    {
        for (const char* name : {"Agreement.eng", "Agreement.cht", "Agreement.chs"})
            ::DeleteFileA(m_folder + "\\" + name);
        ::SetCurrentDirectoryA(m_previous);
        ::RemoveDirectoryA(m_folder);
    }
    void Write(const char* name, const std::string& bytes) const
    {
        std::FILE* file = std::fopen(m_folder + "\\" + name, "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

private:
    CString m_folder;
    char m_previous[MAX_PATH] = {};
};

enum class Answer { OkButton, EnterKey, CancelButton, EscapeKey, CloseButton };

struct LicenceRun {
    bool shown = false;
    CString text;
    BOOL accepted = FALSE;
    INT_PTR result = 0;
    RECT client = {};
    RECT rects[5] = {};
    double picture = 0;
};

// inspect looks at the open dialog before the answer is given.
LicenceRun RunLicence(Answer answer, const std::function<void(HWND)>& inspect = {})
{
    LicenceRun run;
    ThreadPoller poller([&] {
        CAgreementDialog* dialog = FindDialog<CAgreementDialog>();
        if (!dialog)
            return false;
        HWND window = dialog->m_hWnd;
        run.shown = true;
        if (inspect)
            inspect(window);
        run.text = TextOf(::GetDlgItem(window, IDC_AGREEMENT_TEXT));
        ::GetClientRect(window, &run.client);
        const int ids[5] = {IDC_MINIMISE_BUTTON, IDC_CLOSE_BUTTON, IDOK, IDCANCEL, IDC_AGREEMENT_TEXT};
        for (int i = 0; i < 5; ++i)
            run.rects[i] = ChildRect(window, ids[i]);
        run.picture = brimlet_test::BackgroundMatches(window, IDB_LICENCE_BACKGROUND);
        switch (answer) {
        case Answer::OkButton: Click(window, IDOK); break;
        case Answer::EnterKey: PressKey(window, VK_RETURN); break;
        case Answer::CancelButton: Click(window, IDCANCEL); break;
        case Answer::EscapeKey: PressKey(window, VK_ESCAPE); break;
        case Answer::CloseButton: Click(window, IDC_CLOSE_BUTTON); break;
        }
        return true;
    });
    CAgreementDialog* dialog = new CAgreementDialog(nullptr);
    run.result = dialog->DoModal();
    run.accepted = dialog->m_accepted;
    delete dialog;
    return run;
}

TEST(AgreementDialog, AcceptedOnlyByOkOrEnter)
{
    LicenceFolder folder;
    folder.Write(brimlet_test::ExpectedLicenceFile(), "Licence\r\n");
    const struct {
        Answer answer;
        BOOL accepted;
        INT_PTR result;
    } cases[] = {
        {Answer::OkButton, TRUE, IDOK},         {Answer::EnterKey, TRUE, IDOK},
        {Answer::CancelButton, FALSE, IDCANCEL}, {Answer::EscapeKey, FALSE, IDCANCEL},
        {Answer::CloseButton, FALSE, IDCANCEL},
    };
    for (const auto& c : cases) {
        const LicenceRun run = RunLicence(c.answer);
        ASSERT_TRUE(run.shown);
        EXPECT_EQ(run.accepted, c.accepted) << static_cast<int>(c.answer);
        EXPECT_EQ(run.result, c.result) << static_cast<int>(c.answer);
    }
}

TEST(AgreementDialog, ShowsTheLocalesFileInPiecesAndLaysOut)
{
    LicenceFolder folder;
    // The three files differ, so the text tells which one the dialog read.
    folder.Write("Agreement.eng", "English\r\n" + std::string(200, 'e') + "\r\nLast line");
    folder.Write("Agreement.cht", "Traditional\r\n");
    folder.Write("Agreement.chs", "Simplified");
    const std::string expected =
        brimlet_test::ExpectedLicenceFile() == std::string("Agreement.eng")
            ? "English\r\n\r\n" + std::string(127, 'e') + "\r\n" + std::string(73, 'e') + "\r\n\r\nLast line\r\n"
        : brimlet_test::ExpectedLicenceFile() == std::string("Agreement.cht") ? std::string("Traditional\r\n\r\n")
                                                                               : std::string("Simplified\r\n");
    const LicenceRun run = RunLicence(Answer::OkButton);
    ASSERT_TRUE(run.shown);
    EXPECT_EQ(std::string(run.text), expected);
    EXPECT_GT(run.picture, 0.99);
    const int w = run.client.right;
    const int h = run.client.bottom;
    const POINT corners[5] = {{w - 118, 19}, {w - 65, 19}, {100, h - 75}, {w - 200, h - 75}, {35, 93}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(run.rects[i].left, corners[i].x) << i;
        EXPECT_EQ(run.rects[i].top, corners[i].y) << i;
    }
    EXPECT_EQ(run.rects[4].right - run.rects[4].left, w - 58);
    EXPECT_EQ(run.rects[4].bottom - run.rects[4].top, h - 185);
}

TEST(AgreementDialog, WithoutItsFileTheBoxStaysEmptyAndOkStillAccepts)
{
    LicenceFolder folder;
    const LicenceRun run = RunLicence(Answer::OkButton);
    ASSERT_TRUE(run.shown);
    EXPECT_STREQ(run.text, "");
    EXPECT_TRUE(run.accepted);
}

// The transparent colour of the small buttons' pictures.
constexpr COLORREF kSmallButtonKey = 0x70644B;  // RGB(75, 100, 112)

// How a hidden small button of the licence dialog draws itself: its picture, and under the
// picture's key colour the button's own face.
struct SmallButtonSeen {
    bool found = false;
    bool visible = true;
    SIZE size = {};
    SIZE pictureSize = {};
    int keyed = 0;
    int wrong = 0;
};

SmallButtonSeen DrawHiddenButton(HWND dialog, int id, UINT pictureId)
{
    SmallButtonSeen seen;
    HWND window = ::GetDlgItem(dialog, id);
    auto* button = dynamic_cast<CImageButton*>(CWnd::FromHandlePermanent(window));
    const auto picture = brimlet_test::LoadPicture(pictureId);
    if (!button || !picture)
        return seen;
    seen.found = true;
    seen.visible = ::IsWindowVisible(window) != FALSE;
    RECT client;
    ::GetClientRect(window, &client);
    seen.size = {client.right, client.bottom};
    seen.pictureSize = {picture->width(), picture->height()};
    COLORREF face = 0;
    button->GetFaceColor(CImageButton::kBackgroundNormal, &face);
    test_support::PixelCanvas drawn(picture->width(), picture->height(), RGB(255, 0, 255));
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(id);
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = window;
    item.hDC = drawn.dc();
    item.rcItem = {0, 0, picture->width(), picture->height()};
    button->DrawItem(&item);
    for (int y = 0; y < picture->height(); ++y) {
        for (int x = 0; x < picture->width(); ++x) {
            const bool key = picture->At(x, y) == kSmallButtonKey;
            seen.keyed += key;
            seen.wrong += drawn.At(x, y) != (key ? face : picture->At(x, y));
        }
    }
    return seen;
}

TEST(AgreementDialog, TheHiddenScrollButtonsAndViewLabelAreMadeUpLikeShownOnes)
{
    LicenceFolder folder;
    SmallButtonSeen up;
    SmallButtonSeen down;
    bool labelHidden = false;
    LONG labelStyle = 0;
    const LicenceRun run = RunLicence(Answer::OkButton, [&](HWND dialog) {
        up = DrawHiddenButton(dialog, IDC_SCROLL_UP, IDB_SCROLL_UP);
        down = DrawHiddenButton(dialog, IDC_SCROLL_DOWN, IDB_SCROLL_DOWN);
        HWND label = ::GetDlgItem(dialog, IDC_VIEW_LABEL);
        labelHidden = !::IsWindowVisible(label);
        labelStyle = ::GetWindowLongA(label, GWL_EXSTYLE);
    });
    ASSERT_TRUE(run.shown);
    const struct {
        const char* name;
        const SmallButtonSeen& seen;
    } buttons[] = {{"up", up}, {"down", down}};
    for (const auto& b : buttons) {
        ASSERT_TRUE(b.seen.found) << b.name;
        EXPECT_FALSE(b.seen.visible) << b.name;
        EXPECT_EQ(b.seen.size.cx, b.seen.pictureSize.cx) << b.name << ": sized to its picture";
        EXPECT_EQ(b.seen.size.cy, b.seen.pictureSize.cy) << b.name;
        EXPECT_GT(b.seen.keyed, 0) << b.name << ": the picture has keyed corners";
        EXPECT_EQ(b.seen.wrong, 0) << b.name;
    }
    EXPECT_TRUE(labelHidden);
    EXPECT_TRUE(labelStyle & WS_EX_TRANSPARENT) << "the view label's background is transparent";
}

// --- splash dialog (its animation runs once per process: one splash per test program run) ----

struct FrameSeen {
    UINT bitmap;
    DWORD at;
};

UINT FrameShown(HWND splash, const UINT (&frames)[4])
{
    for (UINT bitmap : frames) {
        if (brimlet_test::BackgroundMatches(splash, bitmap) > 0.99)
            return bitmap;
    }
    return 0;
}

TEST(SplashDialog, ShowsItsFourFramesInTurnAndEndsAfterThreeAndAHalfSeconds)
{
    const UINT(&frames)[4] = brimlet_test::ExpectedSplashFrames();
    std::vector<FrameSeen> seen;
    DWORD start = 0;
    ThreadPoller poller(
        [&] {
            CSplashDialog* splash = FindDialog<CSplashDialog>();
            if (!splash)
                return false;
            if (!start)
                start = ::GetTickCount();
            const UINT frame = FrameShown(splash->m_hWnd, frames);
            if (seen.empty() || seen.back().bitmap != frame)
                seen.push_back({frame, ::GetTickCount() - start});
            return false;
        },
        10);
    CSplashDialog splash(nullptr);
    const INT_PTR result = splash.DoModal();
    const DWORD lasted = ::GetTickCount() - start;
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(seen.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(seen[i].bitmap, frames[i]) << i;
    // Frame 1 at the 4th tick, 2 at the 8th, 3 at the 12th, the end at the 35th; Wine's timers
    // may run late, never early.
    EXPECT_GE(seen[1].at + 60, 400u);
    EXPECT_GE(seen[3].at + 60, 1200u);
    EXPECT_GE(lasted + 60, 3500u);
    EXPECT_LT(lasted, 9000u);
    EXPECT_EQ(SplashAnimationState().Frame(), 5);
}

TEST(SplashDialog, EscapeEndsItAtOnce)
{
    const UINT(&frames)[4] = brimlet_test::ExpectedSplashFrames();
    UINT first = 0;
    DWORD pressed = 0;
    ThreadPoller poller([&] {
        CSplashDialog* splash = FindDialog<CSplashDialog>();
        if (!splash)
            return false;
        first = FrameShown(splash->m_hWnd, frames);
        pressed = ::GetTickCount();
        PressKey(splash->m_hWnd, VK_ESCAPE);
        return true;
    });
    CSplashDialog splash(nullptr);
    EXPECT_EQ(splash.DoModal(), IDCANCEL);
    EXPECT_LT(::GetTickCount() - pressed, 1000u);
    EXPECT_EQ(first, frames[0]);
    EXPECT_LT(SplashAnimationState().Frame(), 2);
}

}  // namespace
