// core/sync/mutex_std.cpp — core::Mutex of the host tree, over std::recursive_mutex.
#include "core/sync/mutex.h"

#include <mutex>
#include <new>

namespace core {

namespace {
using Native = std::recursive_mutex;
static_assert(sizeof(Native) <= Mutex::kStorageSize && alignof(Native) <= 16);
Native& Get(unsigned char* storage) { return *std::launder(reinterpret_cast<Native*>(storage)); }
}  // namespace

Mutex::Mutex() { new (storage_) Native; }
Mutex::~Mutex() { Get(storage_).~Native(); }
void Mutex::lock() { Get(storage_).lock(); }
void Mutex::unlock() { Get(storage_).unlock(); }

}  // namespace core
