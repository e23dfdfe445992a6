// platform/dialogs/toolbar.cpp
#include "platform/dialogs/toolbar.h"

#include <vector>

#include "core/menu/resources.h"
#include "platform/dialogs/app.h"
#include "platform/dialogs/gdi.h"

IMPLEMENT_DYNAMIC(CToolBar, CWnd)

CToolBar::~CToolBar()
{
    DestroyWindow();
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    dialogs::InitCommonControlsOnce();
    m_barStyle = style & CBRS_ALL;
    const DWORD windowStyle = (style & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    const RECT rect = {0, 0, 0, 0};
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, rect, parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

HRSRC CToolBar::FindToolbarResource(LPCSTR name, LPCSTR type, HINSTANCE* module)
{
    return dialogs::FindResourceInModules(name, type, module);
}

BOOL CToolBar::LoadToolBar(LPCSTR name)
{
    return LoadToolBarButtons(name) && LoadBitmap(name);
}

BOOL CToolBar::LoadToolBarButtons(LPCSTR name)
{
    HINSTANCE module = nullptr;
    HRSRC found = FindToolbarResource(name, RT_TOOLBAR, &module);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
    const auto toolbar = menu::ParseToolbarResource(bytes, bytes ? ::SizeofResource(module, found) : 0);
    if (!toolbar)
        return FALSE;
    std::vector<UINT> ids(toolbar->commandIds.begin(), toolbar->commandIds.end());
    if (!SetButtons(ids.data(), static_cast<int>(ids.size())))
        return FALSE;
    SetSizes({toolbar->imageWidth + 7, toolbar->imageHeight + 7}, {toolbar->imageWidth, toolbar->imageHeight});
    return TRUE;
}

BOOL CToolBar::LoadBitmap(LPCSTR name)
{
    HINSTANCE module = nullptr;
    HRSRC found = FindToolbarResource(name, RT_BITMAP, &module);
    HBITMAP bitmap = found ? AfxLoadSysColorBitmap(module, found) : nullptr;
    if (!bitmap || !SetBitmap(bitmap))
        return FALSE;
    m_hInstImageWell = module;
    m_hRsrcImageWell = found;
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP bitmap)
{
    if (!bitmap || !m_hWnd) {
        if (bitmap)
            ::DeleteObject(bitmap);
        return FALSE;
    }
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof info, &info);
    const int images = m_imageSize.cx > 0 ? info.bmWidth / m_imageSize.cx : 0;
    LRESULT done;
    if (m_hbmImageWell) {
        TBREPLACEBITMAP replace = {nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                                   reinterpret_cast<UINT_PTR>(bitmap), images};
        done = SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace));
    } else {
        TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
        done = SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&add)) != -1;
    }
    if (!done) {
        ::DeleteObject(bitmap);
        return FALSE;
    }
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = bitmap;
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (!m_hWnd || count < 0 || (count > 0 && !ids))
        return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(count);
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& button = buttons[i];
        button.idCommand = static_cast<int>(ids[i]);
        if (ids[i] == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = 8;  // a separator's width
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = image++;
        }
    }
    return count == 0 || SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buttons.data()));
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    m_imageSize = image;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));
}

int CToolBar::GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

int CToolBar::CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return 0;
    return button.fsStyle & TBSTYLE_SEP ? 0 : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button))) {
        id = 0;
        style = 0;
        image = 0;
        return;
    }
    id = static_cast<UINT>(button.idCommand);
    style = button.fsStyle | (static_cast<UINT>(button.fsState) << 16);
    image = button.iBitmap;
}
