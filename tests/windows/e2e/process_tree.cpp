// process_tree: a program whose processes end the ways the window driver's `run --all` must tell
// apart, for the harness's own scenarios.
//   process_tree exit N                 ends with status N
//   process_tree crash                  ends by an access violation
//   process_tree spawn COUNT ARGS...    starts COUNT copies of itself with ARGS, keeps no handle
//                                       to them and ends at once with status 0
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Act(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[0], "exit") == 0)
        return std::atoi(argv[1]);
    if (argc >= 1 && std::strcmp(argv[0], "crash") == 0) {
        ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[0], "spawn") == 0) {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, sizeof self);
        std::string line = std::string("\"") + self + "\"";
        for (int i = 2; i < argc; ++i)
            line += std::string(" ") + argv[i];
        for (int i = std::atoi(argv[1]); i > 0; --i) {
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION started = {};
            std::string text = line;
            if (!::CreateProcessA(nullptr, &text[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
                return 2;
            ::CloseHandle(started.hThread);
            ::CloseHandle(started.hProcess);
        }
        return 0;
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    return Act(argc - 1, argv + 1);
}
