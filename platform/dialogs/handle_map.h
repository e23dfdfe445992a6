// platform/dialogs/handle_map.h
// Handle -> object maps shared by every thread. Permanent entries are the objects that own or
// route a handle (Attach, subclassing); temporary wrappers answer FromHandle for handles no object
// holds. A temporary wrapper only carries the handle value, so it is kept for the rest of the run
// (a reused handle value finds the same harmless wrapper) and may be used from any thread.
//
// Ownership, one rule for windows, menus, GDI objects, device contexts and image lists: an object
// owns the handle that it made or was given with Attach (subclassing takes a window over too). It
// releases that handle when it is destroyed or by its Delete/Destroy call; Detach hands it back
// unreleased. Shared handles (stock objects, system colour brushes) are held, never owned. A
// temporary wrapper owns nothing and refuses Attach, Detach and the releasing calls, so it answers
// the same handle for the rest of the run. (A window on another thread cannot be destroyed from
// here: its object lets it go.)
#pragma once

#include <windows.h>

#include <mutex>
#include <unordered_map>

#include "platform/dialogs/sync.h"

namespace dialogs {

template <class Object, class Handle>
class HandleMap
{
public:
    static HandleMap& Instance()
    {
        static HandleMap* map = new HandleMap;  // outlives every static object that may use it
        return *map;
    }

    Object* LookupPermanent(Handle handle)
    {
        std::lock_guard<CCriticalSection> lock(m_lock);
        auto found = m_permanent.find(handle);
        return found == m_permanent.end() ? nullptr : found->second;
    }

    // Wrap is called under the lock to make a new temporary wrapper for the handle.
    template <class Wrap>
    Object* Lookup(Handle handle, Wrap wrap)
    {
        if (!handle)
            return nullptr;
        std::lock_guard<CCriticalSection> lock(m_lock);
        auto found = m_permanent.find(handle);
        if (found != m_permanent.end())
            return found->second;
        Object*& temporary = m_temporary[handle];
        if (!temporary)
            temporary = wrap(handle);
        return temporary;
    }

    // The first permanent object for whose handle wanted(handle) holds; wanted runs under the lock
    // and must not come back to the map.
    template <class Wanted>
    Object* FindPermanent(Wanted wanted)
    {
        std::lock_guard<CCriticalSection> lock(m_lock);
        for (const auto& [handle, object] : m_permanent) {
            if (wanted(handle))
                return object;
        }
        return nullptr;
    }

    void SetPermanent(Handle handle, Object* object)
    {
        std::lock_guard<CCriticalSection> lock(m_lock);
        m_permanent[handle] = object;
    }

    void RemovePermanent(Handle handle, Object* object)
    {
        std::lock_guard<CCriticalSection> lock(m_lock);
        auto found = m_permanent.find(handle);
        if (found != m_permanent.end() && found->second == object)
            m_permanent.erase(found);
    }

private:
    CCriticalSection m_lock;
    std::unordered_map<Handle, Object*> m_permanent;
    std::unordered_map<Handle, Object*> m_temporary;
};

}  // namespace dialogs
