// tests/windows/brimlet/modal_script.h
// Drives Brimlet's modal dialogs from inside their own loops: a thread timer runs a step on the
// test's thread every few milliseconds (modal loops dispatch thread messages too), and the step
// finds the dialogs of this thread by their class and acts on them by posting messages, as a user
// would.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

#include "platform/dialogs/dialogs.h"

namespace brimlet_test {

class ThreadPoller
{
public:
    // `step` returns true when it is done; it is not called again after that.
    explicit ThreadPoller(std::function<bool()> step, UINT period = 15) : m_step(std::move(step))
    {
        m_id = ::SetTimer(nullptr, 0, period, &ThreadPoller::Tick);
        Pollers()[m_id] = this;
    }
    ~ThreadPoller()
    {
        ::KillTimer(nullptr, m_id);
        Pollers().erase(m_id);
    }
    ThreadPoller(const ThreadPoller&) = delete;
    ThreadPoller& operator=(const ThreadPoller&) = delete;

    bool Finished() const { return m_finished; }

private:
    static std::map<UINT_PTR, ThreadPoller*>& Pollers()
    {
        static std::map<UINT_PTR, ThreadPoller*> pollers;
        return pollers;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        auto found = Pollers().find(id);
        if (found == Pollers().end())
            return;
        ThreadPoller& poller = *found->second;
        if (poller.m_finished || poller.m_inStep)
            return;
        poller.m_inStep = true;
        poller.m_finished = poller.m_step();
        poller.m_inStep = false;
    }

    UINT_PTR m_id = 0;
    std::function<bool()> m_step;
    bool m_finished = false;
    bool m_inStep = false;
};

struct WindowSearch {
    bool visibleOnly;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    if (!search.visibleOnly || ::IsWindowVisible(window))
        search.found.push_back(window);
    return TRUE;
}

// The top-level windows of this thread, visible ones only unless asked for all.
inline std::vector<HWND> ThreadWindows(bool visibleOnly = true)
{
    WindowSearch search{visibleOnly, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectThreadWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The dialog object of class T among this thread's windows.
template <class T>
T* FindDialog(bool visibleOnly = true)
{
    for (HWND window : ThreadWindows(visibleOnly)) {
        if (T* dialog = dynamic_cast<T*>(CWnd::FromHandlePermanent(window)))
            return dialog;
    }
    return nullptr;
}

// A standard message box of this thread (class #32770 that no object of ours holds).
inline HWND FindMessageBox()
{
    for (HWND window : ThreadWindows()) {
        char className[32] = {};
        ::GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0 && !CWnd::FromHandlePermanent(window) && ::GetDlgItem(window, 0xFFFF))
            return window;
    }
    return nullptr;
}

inline void Click(HWND dialog, int id)
{
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A key press to the window that has the focus in the dialog, through the dialog's own loop.
inline void PressKey(HWND dialog, UINT key)
{
    HWND focus = ::GetFocus();
    if (!focus || (focus != dialog && !::IsChild(dialog, focus)))
        focus = dialog;
    ::PostMessageA(focus, WM_KEYDOWN, key, 1);
    ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

inline CString TextOf(HWND window)
{
    CString text;
    const int length = ::GetWindowTextLengthA(window);
    ::GetWindowTextA(window, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
    return text;
}

// A control's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND dialog, int id)
{
    RECT rect = {};
    HWND control = ::GetDlgItem(dialog, id);
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace brimlet_test
