// The image button on a skinned dialog: its looks in each state, read back pixel by pixel, the
// result codes of its setters, check-box mode, clicks, the tooltip, links, images made from
// others, and hover tracking with the real pointer.
#include "brimlet/skin/image_button.h"

#include <gtest/gtest.h>

#include "brimlet/skin/bitmap_dialog.h"
#include "core/skin/colour.h"
#include "tests/windows/skin/control_test_support.h"
#include "tests/windows/support/gdi_objects.h"

#include <mmsystem.h>

#include <cstring>
#include <string>

namespace {

using namespace skin_test;

class CProbeButton : public CImageButton
{
public:
    using CImageButton::m_alignment;
    using CImageButton::m_backgroundDC;
    using CImageButton::m_bitmaps;
    using CImageButton::m_checkBox;
    using CImageButton::m_hovering;
    using CImageButton::m_icons;
    using CImageButton::m_linkTarget;
    using CImageButton::m_sounds;
    using CImageButton::m_tooltip;

    // The look for the item state, painted through DrawItem into the canvas.
    void PaintInto(Canvas& canvas, UINT state)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID());
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = m_hWnd;
        item.hDC = canvas.dc();
        GetClientRect(&item.rcItem);
        DrawItem(&item);
    }
};

class CButtonStage : public CBitmapDialog
{
public:
    CButtonStage() : CBitmapDialog(kButtonStage, nullptr) {}

    CProbeButton m_repair;
    CProbeButton m_close;
    CProbeButton m_small;
    CProbeButton m_check;
    CProbeButton m_plain;
    int m_repairClicks = 0;
    int m_checkClicks = 0;
    int m_plainClicks = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override
    {
        CBitmapDialog::DoDataExchange(dx);
        DDX_Control(dx, IDOK, m_repair);
        DDX_Control(dx, IDCANCEL, m_close);
        DDX_Control(dx, 1013, m_small);
        DDX_Control(dx, 1030, m_check);
        DDX_Control(dx, 1031, m_plain);
    }
    BOOL OnInitDialog() override
    {
        CBitmapDialog::OnInitDialog();
        SetBitmap(kBackground);
        SetBitmapStyle(4);
        return TRUE;
    }
    void OnRepair() { ++m_repairClicks; }
    void OnCheck() { ++m_checkClicks; }
    void OnPlain() { ++m_plainClicks; }
    void OnNothing() {}
};

BEGIN_MESSAGE_MAP(CButtonStage, CBitmapDialog)
    ON_BN_CLICKED(IDOK, &CButtonStage::OnRepair)
    ON_BN_CLICKED(IDCANCEL, &CButtonStage::OnNothing)
    ON_BN_CLICKED(1030, &CButtonStage::OnCheck)
    ON_BN_CLICKED(1031, &CButtonStage::OnPlain)
END_MESSAGE_MAP()

struct ImageButton : testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(stage.Create(kButtonStage, nullptr));
        // Other test programs share the display: this window goes on top, in a place of its own.
        ::SetWindowPos(stage.m_hWnd, HWND_TOPMOST, 760, 420, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        stage.UpdateWindow();
    }
    void TearDown() override { stage.DestroyWindow(); }

    // Face pictures with the caption left out, on a face of the picture's size.
    void ShowPictures(CProbeButton& button, UINT hover, UINT normal)
    {
        button.SetWindowText("");
        ASSERT_EQ(button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE), 0u);
        ASSERT_EQ(button.SetBitmapPair(hover, kGreen, normal, kGreen), 0u);
        button.FitToImage();
    }

    CButtonStage stage;
};

TEST_F(ImageButton, SettersAnswerTheirResultCodes)
{
    CProbeButton& button = stage.m_plain;
    EXPECT_EQ(button.SetImageAlignment(1, FALSE), 0u);
    EXPECT_EQ(button.SetImageAlignment(4, FALSE), 4u);
    EXPECT_EQ(button.m_alignment, 1) << "the old alignment stays";
    EXPECT_EQ(button.SetFaceColor(6, RGB(1, 2, 3)), 3u);
    COLORREF colour = 0;
    EXPECT_EQ(button.GetFaceColor(6, &colour), 3u);
    EXPECT_EQ(button.ShiftFaceColor(0, 300, FALSE), 5u);
    EXPECT_EQ(button.ShiftFaceColor(0, -256, FALSE), 5u);
    EXPECT_EQ(button.ShiftFaceColor(6, 1, FALSE), 3u);
    EXPECT_EQ(button.SetPressedShift(2, FALSE), 6u);
    EXPECT_EQ(button.SetPressedShift(1, FALSE), 0u);

    Canvas canvas(10, 10);
    CDC* dc = CDC::FromHandle(canvas.dc());
    EXPECT_EQ(button.TakeBackgroundFrom(dc), 5u) << "without parent background";
    EXPECT_EQ(button.SetHoverCursor(4242, FALSE), 1u);
    EXPECT_EQ(button.SetHoverCursor(static_cast<int>(kCursor), FALSE), 0u);
    EXPECT_EQ(button.SetBitmapPair(4242, kGreen, kFace, kGreen), 1u) << "a picture that does not load";
    EXPECT_EQ(button.m_bitmaps[0].bitmap, nullptr);
    EXPECT_EQ(button.m_bitmaps[1].bitmap, nullptr);
    EXPECT_EQ(button.SetIconPair(4242u, 0u), 1u);
}

TEST_F(ImageButton, ShiftFaceColorMovesTheChannelsTogether)
{
    CProbeButton& button = stage.m_plain;
    struct Case {
        short offset;
        COLORREF expected;
    };
    for (Case c : {Case{20, RGB(255, 105, 5)}, Case{-20, RGB(250, 100, 0)}}) {
        ASSERT_EQ(button.SetFaceColor(CImageButton::kBackgroundActive, RGB(250, 100, 0)), 0u);
        EXPECT_EQ(button.ShiftFaceColor(CImageButton::kBackgroundActive, c.offset, FALSE), 0u);
        COLORREF shifted = 0;
        EXPECT_EQ(button.GetFaceColor(CImageButton::kBackgroundActive, &shifted), 0u);
        EXPECT_EQ(shifted, c.expected) << c.offset;
    }
}

TEST_F(ImageButton, LinkTargetAndSoundFileNamesNeverOverrunTheirBuffers)
{
    CProbeButton& button = stage.m_plain;
    const std::string fits(259, 'a');
    EXPECT_EQ(button.SetLinkTarget(fits.c_str()), 0u);
    EXPECT_EQ(std::strlen(button.m_linkTarget), 259u) << "259 characters fit with their terminator";
    const std::string tooLong(260, 'b');
    EXPECT_EQ(button.SetLinkTarget(tooLong.c_str()), 5u);
    EXPECT_STREQ(button.m_linkTarget, "") << "refused, not cut";
    EXPECT_EQ(button.SetLinkTarget(nullptr), 0u);

    EXPECT_EQ(button.SetButtonSound(tooLong.c_str(), nullptr, TRUE, TRUE), 5u);
    EXPECT_EQ(button.m_sounds[1].sound, nullptr);
    EXPECT_EQ(button.SetButtonSound(fits.c_str(), nullptr, TRUE, FALSE), 0u);
    EXPECT_EQ(button.m_sounds[1].sound, button.m_sounds[1].path) << "a file name is copied";
    EXPECT_EQ(button.m_sounds[1].flags, static_cast<DWORD>(SND_NODEFAULT | SND_NOWAIT | SND_FILENAME));

    HMODULE module = GetModuleHandleA(nullptr);
    LPCSTR resource = MAKEINTRESOURCEA(7);
    EXPECT_EQ(button.SetButtonSound(resource, module, FALSE, TRUE), 0u);
    EXPECT_EQ(button.m_sounds[0].sound, resource) << "a resource name is kept as given";
    EXPECT_EQ(button.m_sounds[0].module, module);
    EXPECT_EQ(button.m_sounds[0].flags, static_cast<DWORD>(SND_NODEFAULT | SND_NOWAIT | SND_RESOURCE | SND_ASYNC));
    EXPECT_EQ(button.SetButtonSound(nullptr, nullptr, FALSE, TRUE), 0u);
    EXPECT_EQ(button.m_sounds[0].sound, nullptr);
}

TEST_F(ImageButton, TakesOverTemplateButtonsAsOwnerDrawnAndFollowsTheDefaultState)
{
    CProbeButton& repair = stage.m_repair;
    EXPECT_EQ(repair.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(repair.IsDefaultButton()) << "the template's default push button";
    EXPECT_TRUE(repair.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    repair.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
    EXPECT_FALSE(repair.IsDefaultButton());
    EXPECT_EQ(repair.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW)) << "the dialog manager's style change";
    EXPECT_TRUE(repair.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    repair.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    EXPECT_TRUE(repair.IsDefaultButton());
    EXPECT_EQ(repair.GetStyle() & 0x0F, static_cast<DWORD>(BS_OWNERDRAW));

    EXPECT_TRUE(stage.m_check.m_checkBox) << "a check box template";
    EXPECT_FALSE(stage.m_plain.m_checkBox);
    EXPECT_FALSE(stage.m_plain.IsDefaultButton());
}

// The repair dialog's Repair button: alignment 3, picture 163 for both states on green, the
// parent's picture under the face. Painted by the window itself and read back.
TEST_F(ImageButton, TheRepairButtonShowsTheParentsPictureThroughItsGreenPixels)
{
    CProbeButton& repair = stage.m_repair;
    ASSERT_EQ(repair.SetImageAlignment(3, FALSE), 0u);
    ASSERT_EQ(repair.SetBitmapPair(kFace, kGreen, kFace, kGreen), 0u);
    repair.FitToImage();
    ASSERT_EQ(repair.UseParentBackground(FALSE), 0u);
    const int left = 20, top = 30;
    repair.SetWindowPos(nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect size;
    repair.GetClientRect(&size);
    ASSERT_EQ(size.Width(), kFaceWidth) << "FitToImage";
    ASSERT_EQ(size.Height(), kFaceHeight);
    stage.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

    Canvas shown(kFaceWidth, kFaceHeight);
    shown.CopyFromWindow(repair.m_hWnd);
    // The caption: what is neither the picture nor the parent's picture, in the button's text colour.
    auto isPicture = [&](int x, int y, COLORREF c) {
        return FaceIsGreenAt(x, y) ? c == BackgroundAt(left + x, top + y) : (c == kBody || c == kMark);
    };
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    RECT caption = {kFaceWidth, kFaceHeight, -1, -1};
    int wrong = 0;
    for (int y = 0; y < kFaceHeight; ++y)
        for (int x = 0; x < kFaceWidth; ++x) {
            COLORREF c = shown.At(x, y);
            if (isPicture(x, y, c))
                continue;
            if (c == text) {
                caption.left = std::min<LONG>(caption.left, x);
                caption.right = std::max<LONG>(caption.right, x + 1);
                caption.top = std::min<LONG>(caption.top, y);
                caption.bottom = std::max<LONG>(caption.bottom, y + 1);
                continue;
            }
            if (wrong++ < 3)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << c;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shown.At(1, 1), BackgroundAt(left + 1, top + 1)) << "a green corner shows the parent's picture";
    EXPECT_EQ(shown.At(8, 8), BackgroundAt(left + 8, top + 8));
    ASSERT_LT(caption.left, caption.right) << "the caption is drawn";
    EXPECT_NEAR((caption.left + caption.right) / 2.0, kFaceWidth / 2.0, 2) << "centred across";
    EXPECT_NEAR((caption.top + caption.bottom) / 2.0, kFaceHeight / 2.0, 3) << "and up and down";
}

TEST_F(ImageButton, EachStateHasItsLook)
{
    CProbeButton& button = stage.m_plain;
    ShowPictures(button, kHoverFace, kFace);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    struct Case {
        const char* name;
        bool hovering;
        UINT state;
        COLORREF body;        // at (20, 15)
        POINT mark;           // where the picture's marked pixel is
        COLORREF topLeft;     // the frame's corner pixels
        COLORREF bottomRight;
    };
    const Case cases[] = {
        {"normal", false, 0, kBody, {30, 12}, face, face},
        {"hover: hover picture, raised frame", true, 0, kHoverBody, {30, 12}, light, shadow},
        {"pressed: hover picture moved by (1, 1), sunken frame", false, ODS_SELECTED, kHoverBody, {31, 13}, shadow, light},
        {"focused flat: no focus rectangle", false, ODS_FOCUS, kBody, {30, 12}, face, face},
    };
    for (const Case& c : cases) {
        button.m_hovering = c.hovering;
        Canvas canvas(kFaceWidth, kFaceHeight);
        button.PaintInto(canvas, c.state);
        EXPECT_EQ(canvas.At(20, 15), c.body) << c.name;
        EXPECT_EQ(canvas.At(c.mark.x, c.mark.y), kMark) << c.name;
        EXPECT_EQ(canvas.At(0, 0), c.topLeft) << c.name;
        EXPECT_EQ(canvas.At(kFaceWidth - 1, kFaceHeight - 1), c.bottomRight) << c.name;
        EXPECT_EQ(canvas.At(2, 12), face) << c.name << ": the green frame shows the face colour";
    }
    button.m_hovering = FALSE;

    // Disabled: the picture embossed in the system's 3-D colours, none of its own.
    Canvas disabled(kFaceWidth, kFaceHeight);
    button.PaintInto(disabled, ODS_DISABLED);
    EXPECT_EQ(disabled.Count(kBody) + disabled.Count(kHoverBody) + disabled.Count(kMark), 0);
    EXPECT_GT(disabled.Count(GetSysColor(COLOR_3DSHADOW)), 100);

    // Not flat: the focused button gets a black frame and the focus rectangle.
    button.SetFlatStyle(FALSE, FALSE);
    Canvas unfocused(kFaceWidth, kFaceHeight), focused(kFaceWidth, kFaceHeight);
    button.PaintInto(unfocused, 0);
    button.PaintInto(focused, ODS_FOCUS);
    EXPECT_EQ(focused.At(0, 12), RGB(0, 0, 0));
    EXPECT_NE(unfocused.At(0, 12), RGB(0, 0, 0));
    int focusLine = 0;
    for (int x = 3; x < kFaceWidth - 3; ++x)
        focusLine += focused.At(x, 3) != unfocused.At(x, 3);
    EXPECT_GT(focusLine, 10) << "the dotted focus rectangle inset by 3";
}

TEST_F(ImageButton, ACheckBoxTogglesOnEachClickAndShowsItsState)
{
    CProbeButton& check = stage.m_check;
    ShowPictures(check, kHoverFace, kFace);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);
    EXPECT_EQ(stage.m_checkClicks, 2) << "the parent gets BN_CLICKED as well";

    for (WPARAM value : {BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}) {
        check.SendMessage(BM_SETCHECK, value);
        EXPECT_EQ(check.SendMessage(BM_GETCHECK), value == BST_UNCHECKED ? 0 : 1) << value;
    }
    // Checked: the hover picture, pressed but not moved.
    Canvas canvas(kFaceWidth, kFaceHeight);
    check.PaintInto(canvas, 0);
    EXPECT_EQ(canvas.At(20, 15), kHoverBody);
    EXPECT_EQ(canvas.At(30, 12), kMark);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNSHADOW)) << "a sunken frame";

    stage.m_plain.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(stage.m_plain.SendMessage(BM_GETCHECK), 0) << "a push button has no check state";
}

TEST_F(ImageButton, ADoubleClickIsTwoClicks)
{
    // Each message as the message loop hands it on: PreTranslateMessage first, then the window.
    // (Delivered at once rather than posted, so that no other program's activation can come
    // between the press and the release and take the button's capture.)
    CProbeButton& button = stage.m_plain;
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        MSG msg = {button.m_hWnd, message, static_cast<WPARAM>(message == WM_LBUTTONUP ? 0 : MK_LBUTTON),
                   MAKELPARAM(5, 5)};
        if (!AfxGetApp()->PreTranslateMessage(&msg))
            ::SendMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
    EXPECT_EQ(stage.m_plainClicks, 2);
}

TEST_F(ImageButton, TheSpaceBarClicksAndACursorOfItsOwnShowsOverIt)
{
    auto pressSpace = [](CWnd& button) {
        button.SetFocus();
        button.SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
        button.SendMessage(WM_KEYUP, VK_SPACE, 0xC0390001);
    };
    pressSpace(stage.m_plain);
    EXPECT_EQ(stage.m_plainClicks, 1);
    pressSpace(stage.m_check);
    EXPECT_EQ(stage.m_check.SendMessage(BM_GETCHECK), 1) << "a check box toggles";

    CProbeButton& button = stage.m_plain;
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    ASSERT_EQ(button.SetHoverCursor(static_cast<int>(kCursor), FALSE), 0u);
    EXPECT_TRUE(button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd), overClient));
    HCURSOR own = GetCursor();
    EXPECT_NE(own, LoadCursorA(nullptr, IDC_ARROW));
    ASSERT_EQ(button.SetHoverCursor(0, FALSE), 0u);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd), overClient);
    EXPECT_NE(GetCursor(), own) << "without one the class cursor shows";
}

WNDPROC g_tooltipProcedure = nullptr;
int g_relayed = 0;  // mouse moves handed to the tooltip

LRESULT CALLBACK CountRelays(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_RELAYEVENT && reinterpret_cast<const MSG*>(lParam)->message == WM_MOUSEMOVE)
        ++g_relayed;
    return CallWindowProcA(g_tooltipProcedure, window, message, wParam, lParam);
}

TEST_F(ImageButton, TheTooltipGetsEachMouseMessageOnce)
{
    CProbeButton& button = stage.m_plain;
    EXPECT_EQ(button.SetTipText("first tip"), 0u);
    EXPECT_EQ(button.SetTipText("second tip"), 0u);
    CToolTipCtrl& tip = button.m_tooltip;
    ASSERT_NE(tip.m_hWnd, nullptr);
    EXPECT_EQ(tip.GetToolCount(), 1) << "the second text replaces the first";
    char text[64] = {};
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = button.m_hWnd;
    tool.uId = CImageButton::kTipToolId;
    tool.lpszText = text;
    tip.SendMessage(TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "second tip");
    ASSERT_TRUE(tip.SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & TTF_SUBCLASS, 0u);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(button.m_hWnd, GWLP_WNDPROC)), DialogsWindowProcedure)
        << "the tooltip does not watch the button itself";

    g_relayed = 0;
    g_tooltipProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(tip.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountRelays)));
    button.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Pump(100);
    SetWindowLongPtrA(tip.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tooltipProcedure));
    EXPECT_EQ(g_relayed, 1);

    CProbeButton& small = stage.m_small;
    small.UseBalloonTip();
    small.SetTipText("balloon");
    EXPECT_TRUE(small.m_tooltip.GetStyle() & TTS_BALLOON);
    EXPECT_FALSE(tip.GetStyle() & TTS_BALLOON);
}

TEST_F(ImageButton, AClickOpensTheLinkTargetWithTheShell)
{
    const std::string marker = LinkProbeMarker();
    DeleteFileA(marker.c_str());
    ASSERT_EQ(GetFileAttributesA(LinkProbePath().c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << LinkProbePath();
    CProbeButton& button = stage.m_plain;
    ASSERT_EQ(button.SetLinkTarget(LinkProbePath().c_str()), 0u);
    button.SendMessage(BM_CLICK);
    EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000))
        << "the probe did not run";
    EXPECT_EQ(stage.m_plainClicks, 1);
    DeleteFileA(marker.c_str());
}

TEST_F(ImageButton, DerivedNormalImagesAreGreyOrDarkerAndKeepTheirTransparency)
{
    CProbeButton& button = stage.m_plain;
    button.SetWindowText("");
    button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Case {
        UINT derived;
        COLORREF body;
        COLORREF disc;
    };
    const Case cases[] = {
        {CImageButton::kGreyImage, skin::GreyColour(kBody), skin::GreyColour(RGB(220, 30, 30))},
        {CImageButton::kDarkerImage, skin::DarkenColour(kBody, 0.25), skin::DarkenColour(RGB(220, 30, 30), 0.25)},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(button.SetBitmapPair(kFace, kGreen, c.derived, kGreen), 0u);
        EXPECT_EQ(button.m_bitmaps[1].key, kGreen);
        button.FitToImage();
        Canvas normal(kFaceWidth, kFaceHeight);
        button.PaintInto(normal, 0);
        EXPECT_EQ(normal.At(20, 15), c.body) << c.derived;
        EXPECT_EQ(normal.At(2, 2), face) << "still transparent";
        Canvas pressed(kFaceWidth, kFaceHeight);
        button.PaintInto(pressed, ODS_SELECTED);
        EXPECT_EQ(pressed.At(21, 16), kBody) << "the hover picture keeps its colours";

        ASSERT_EQ(button.SetIconPair(kIcon, c.derived), 0u);
        EXPECT_EQ(button.m_icons[0].width, 32u) << "twice the hotspot";
        EXPECT_EQ(button.m_icons[0].height, 32u);
        ASSERT_NE(button.m_icons[1].icon, nullptr);
        EXPECT_EQ(button.m_bitmaps[0].bitmap, nullptr) << "a setter releases every image first";
        button.FitToImage();
        Canvas icon(32, 32, face);
        button.PaintInto(icon, 0);
        EXPECT_EQ(icon.At(16, 16), c.disc) << c.derived;
        EXPECT_EQ(icon.At(1, 1), face) << "outside the disc";
        Canvas hoverIcon(32, 32, face);
        button.PaintInto(hoverIcon, ODS_SELECTED);
        EXPECT_EQ(hoverIcon.At(17, 17), RGB(220, 30, 30));
    }
}

TEST_F(ImageButton, ASnapshotFromTheParentsDCAndItsEndOnAColourChange)
{
    CProbeButton& button = stage.m_small;
    ASSERT_EQ(button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE), 0u);
    ASSERT_EQ(button.SetBitmapPair(kSmallFace, kSmallKey, kSmallFace, kSmallKey), 0u);
    button.FitToImage();
    button.SetWindowPos(nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(button.UseParentBackground(FALSE), 0u);
    Canvas parent(240, 160);
    parent.FillPattern();
    ASSERT_EQ(button.TakeBackgroundFrom(CDC::FromHandle(parent.dc())), 0u);
    Canvas face(16, 14);
    button.PaintInto(face, 0);
    EXPECT_EQ(face.At(1, 1), BackgroundAt(101, 51)) << "the key colour shows the parent's picture";
    EXPECT_EQ(face.At(15, 13), BackgroundAt(115, 63));
    EXPECT_EQ(face.At(5, 5), kBody);

    ASSERT_EQ(button.SetFaceColor(CImageButton::kBackgroundNormal, RGB(1, 2, 3)), 0u);
    stage.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(button.m_backgroundDC.m_hDC, nullptr) << "the snapshot is dropped";
    COLORREF colour = 0;
    button.GetFaceColor(CImageButton::kBackgroundNormal, &colour);
    EXPECT_EQ(colour, GetSysColor(COLOR_BTNFACE)) << "the colours follow the system's again";
}

TEST_F(ImageButton, DisablingTheFocusedButtonMovesTheFocusOn)
{
    stage.m_plain.SetFocus();
    ASSERT_EQ(GetFocus(), stage.m_plain.m_hWnd);
    stage.m_plain.EnableWindow(FALSE);
    EXPECT_EQ(GetFocus(), stage.GetDlgItem(1032)->m_hWnd) << "the next tab item";

    stage.m_check.SetFocus();
    stage.m_close.EnableWindow(FALSE);
    EXPECT_EQ(GetFocus(), stage.m_check.m_hWnd) << "another control keeps its focus";
}

TEST_F(ImageButton, CreateAndDestroyLeaksNoGdiObject)
{
    // A button of its own each round, given everything it can hold, painted, and destroyed.
    auto round = [this] {
        CProbeButton button;
        const RECT rect = {10, 10, 10 + kFaceWidth, 10 + kFaceHeight};
        ASSERT_TRUE(button.Create("Probe", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rect, &stage, 1099));
        ASSERT_EQ(button.SetBitmapPair(kFace, kGreen, CImageButton::kGreyImage, kGreen), 0u);
        ASSERT_EQ(button.SetIconPair(kIcon, CImageButton::kDarkerImage), 0u);
        ASSERT_EQ(button.SetHoverCursor(static_cast<int>(kCursor), FALSE), 0u);
        button.SetTipText("Probe");
        button.UseParentBackground(FALSE);
        Canvas canvas(kFaceWidth, kFaceHeight);
        button.PaintInto(canvas, ODS_DISABLED);
        ASSERT_EQ(button.SetBitmapPair(kHoverFace, kGreen, kFace, kGreen), 0u);
        button.PaintInto(canvas, ODS_DISABLED);
        button.PaintInto(canvas, 0);
        ASSERT_NE(button.m_backgroundDC.m_hDC, nullptr) << "the parent's snapshot was taken";
        button.DestroyWindow();
    };
    round();
    const DWORD before = test_support::CountGdiObjects();
    ASSERT_GT(before, 0u) << "GDI objects cannot be counted here";
    for (int i = 0; i < 30; ++i)
        round();
    const DWORD after = test_support::CountGdiObjects();
    EXPECT_LE(after, before + 2) << before << " -> " << after;
}

// --- with the real pointer

struct ImageButtonPointer : ImageButton
{
    bool PointAt(CWnd& window, int x, int y)
    {
        CRect rect;
        window.GetWindowRect(&rect);
        return PlacePointer(rect.left + x, rect.top + y);
    }
    void MoveOver(CWnd& window, UINT flags = 0) { window.SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(5, 5)); }
};

TEST_F(ImageButtonPointer, HoverBeginsOnTheButtonAndEndsWhenThePointerLeaves)
{
    CProbeButton& button = stage.m_plain;
    ShowPictures(button, kHoverFace, kFace);
    ASSERT_TRUE(PointAt(button, 5, 5));
    MoveOver(button);
    EXPECT_TRUE(button.m_hovering);
    Pump(150);
    EXPECT_TRUE(button.m_hovering) << "no WM_MOUSELEAVE while the pointer stays";
    // Away, to the screen's far corner, where no test opens a window.
    ASSERT_TRUE(PlacePointer(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2));
    EXPECT_TRUE(PumpUntil([&] { return !button.m_hovering; })) << "WM_MOUSELEAVE ended the hover";

    // Back again: hover comes back; pressing the left button outside and dragging in does not.
    ASSERT_TRUE(PointAt(button, 5, 5));
    MoveOver(button);
    EXPECT_TRUE(button.m_hovering);
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button.m_hovering);
    MoveOver(button, MK_LBUTTON);
    EXPECT_FALSE(button.m_hovering);

    button.SetFlatStyle(FALSE, FALSE);
    MoveOver(button);
    EXPECT_FALSE(button.m_hovering) << "a button that is not flat tracks no hover";
}

TEST_F(ImageButtonPointer, WithoutHoverWhenInactiveOnlyAnActiveWindowShowsHover)
{
    CProbeButton& button = stage.m_plain;
    ASSERT_TRUE(PointAt(button, 5, 5));
    button.SetHoverWhenInactive(FALSE);
    ::SetActiveWindow(nullptr);
    if (GetActiveWindow() != nullptr)
        GTEST_SKIP() << "this thread's windows cannot all be made inactive here";
    MoveOver(button);
    EXPECT_FALSE(button.m_hovering) << "no active window";
    stage.SetActiveWindow();
    ASSERT_EQ(GetActiveWindow(), stage.m_hWnd);
    MoveOver(button);
    EXPECT_TRUE(button.m_hovering);
    button.SendMessage(WM_MOUSELEAVE);

    button.SetHoverWhenInactive(TRUE);
    ::SetActiveWindow(nullptr);
    MoveOver(button);
    EXPECT_TRUE(button.m_hovering) << "hover also while another window is active";
}

}  // namespace
