// core/sync/mutex.h
// The one lock of the portable core: recursive (the owning thread may take it again), usable
// with std::lock_guard. Each platform defines it once: the host with the C++ thread library,
// Windows over a critical section (platform/sync), because the Windows programs are built
// without a C++ thread library. The core_sync target links the definition of the tree at hand.
#pragma once

#include <cstddef>

namespace core {

class Mutex
{
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock();
    void unlock();

    // Room for the platform's own lock object, which each definition checks it fits.
    static constexpr std::size_t kStorageSize = 64;

private:
    alignas(16) unsigned char storage_[kStorageSize];
};

}  // namespace core
