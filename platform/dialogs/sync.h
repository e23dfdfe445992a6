// platform/dialogs/sync.h
// Locks over Win32 critical sections: the programs are built without a C++ thread library (its
// mingw-w64 runtime imports functions Windows XP and 98 lack).
#pragma once

#include <windows.h>

class CSyncObject
{
public:
    virtual ~CSyncObject() = default;
    virtual BOOL Lock(DWORD timeout = INFINITE) = 0;
    virtual BOOL Unlock() = 0;
};

// Recursive, like the critical section under it: the owning thread may lock it again.
class CCriticalSection : public CSyncObject
{
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() override { ::DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    operator CRITICAL_SECTION*() { return &m_sect; }
    // A critical section cannot time out: the timeout is ignored and the thread waits.
    BOOL Lock(DWORD timeout = INFINITE) override
    {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() override
    {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }
    // std::lock_guard and the like.
    void lock() { Lock(); }
    void unlock() { Unlock(); }

    CRITICAL_SECTION m_sect;
};

// Holds an object's lock for a scope; the destructor lets go of a lock still held.
class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE) : m_pObject(object)
    {
        if (initialLock)
            Lock();
    }
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD timeout = INFINITE)
    {
        if (!m_pObject || m_bAcquired)
            return m_bAcquired;
        m_bAcquired = m_pObject->Lock(timeout);
        return m_bAcquired;
    }
    BOOL Unlock()
    {
        if (m_bAcquired && m_pObject->Unlock())
            m_bAcquired = FALSE;
        return !m_bAcquired;
    }
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
