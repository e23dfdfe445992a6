// tests/windows/support/dialog_watcher.h
// Waits on a thread of its own for a dialog of this process with a given caption (the code under
// test runs it modally on the test's thread), hands it to a check and then presses its OK button.
// Test programs share Wine's desktop, so windows are only ever looked for among this process's.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace test_support {

namespace dialog_watcher_detail {

struct Search {
    const char* className;
    const char* caption;
    HWND found;
};

inline BOOL CALLBACK TakeProcessWindow(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId())
        return TRUE;
    char text[256] = {};
    ::GetClassNameA(window, text, sizeof text);
    if (::lstrcmpiA(text, search.className) != 0)
        return TRUE;
    if (search.caption) {
        ::GetWindowTextA(window, text, sizeof text);
        if (::lstrcmpA(text, search.caption) != 0)
            return TRUE;
    }
    search.found = window;
    return FALSE;
}

}  // namespace dialog_watcher_detail

// A top-level window of this process of that class (and caption, unless null); another test
// program's window of the same name is never taken.
inline HWND FindProcessWindow(const char* className, const char* caption)
{
    dialog_watcher_detail::Search search{className, caption, nullptr};
    ::EnumWindows(dialog_watcher_detail::TakeProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class DialogWatcher {
public:
    DialogWatcher(std::string caption, std::function<void(HWND)> inspect)
        : thread_([this, caption, inspect] {
              for (int i = 0; i < 500; ++i) {
                  if (HWND dialog = FindProcessWindow("#32770", caption.c_str())) {
                      std::this_thread::sleep_for(std::chrono::milliseconds(100));
                      inspect(dialog);
                      found_ = true;
                      ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          })
    {
    }
    ~DialogWatcher()
    {
        if (thread_.joinable())
            thread_.join();
    }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Whether the dialog came (waits for the watcher to finish).
    bool Found()
    {
        if (thread_.joinable())
            thread_.join();
        return found_;
    }

private:
    std::atomic<bool> found_{false};
    std::thread thread_;
};

inline std::string WindowText(HWND window)
{
    char text[2048] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace test_support
