// platform/sync/mutex_win32.cpp — core::Mutex of the Windows programs, over a critical section
// (recursive, and available from Windows 95 on).
#include <windows.h>

#include <new>

#include "core/sync/mutex.h"

namespace core {

namespace {
static_assert(sizeof(CRITICAL_SECTION) <= Mutex::kStorageSize && alignof(CRITICAL_SECTION) <= 16);
CRITICAL_SECTION* Get(unsigned char* storage) { return std::launder(reinterpret_cast<CRITICAL_SECTION*>(storage)); }
}  // namespace

Mutex::Mutex() { ::InitializeCriticalSection(Get(storage_)); }
Mutex::~Mutex() { ::DeleteCriticalSection(Get(storage_)); }
void Mutex::lock() { ::EnterCriticalSection(Get(storage_)); }
void Mutex::unlock() { ::LeaveCriticalSection(Get(storage_)); }

}  // namespace core
