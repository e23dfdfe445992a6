// platform/dialogs/object.h
// The root of the class library: run-time class records and CObject.
#pragma once

#include <windows.h>

class CObject;

// One record per class that declares it; records chain to the base class's record.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();      // NULL: not creatable by name
    const CRuntimeClass* (*m_pfnGetBaseClass)();

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// Dynamic type checks (IsKindOf) only; the class cannot be made by name.
#define DECLARE_DYNAMIC(class_name)                                    \
public:                                                                \
    static const CRuntimeClass* GetThisClass();                        \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, creator)   \
    const CRuntimeClass* class_name::GetThisClass()                    \
    {                                                                  \
        static const CRuntimeClass record = {                          \
            #class_name, static_cast<int>(sizeof(class_name)), creator, \
            &base_class_name::GetThisClass};                           \
        return &record;                                                \
    }                                                                  \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return GetThisClass(); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

// As DECLARE_DYNAMIC, and CreateObject makes a default-constructed object.
#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                  \
    CObject* class_name::CreateObject() { return new class_name; }        \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, &class_name::CreateObject)

class CObject
{
public:
    virtual ~CObject() = default;
    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* runtimeClass) const;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};
