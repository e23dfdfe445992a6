// tests/windows/support/dialog_watcher.h
// Waits on a thread of its own for a dialog of this process with a given caption (the code under
// test runs it modally on the test's thread), hands it to a check and then presses its OK button.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace test_support {

class DialogWatcher {
public:
    DialogWatcher(std::string caption, std::function<void(HWND)> inspect)
        : thread_([this, caption, inspect] {
              for (int i = 0; i < 500; ++i) {
                  HWND dialog = ::FindWindowA("#32770", caption.c_str());
                  DWORD process = 0;
                  if (dialog)
                      ::GetWindowThreadProcessId(dialog, &process);
                  if (dialog && process == ::GetCurrentProcessId()) {
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
