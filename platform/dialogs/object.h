// platform/dialogs/object.h
// The root of the class library: run-time class records, CObject and the owning pointer array.
#pragma once

#include <windows.h>

#include <vector>

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

// An array of CObject pointers. It does not own what it points to: the holder deletes the
// elements it put in (as the pie chart does with its pieces).
class CObArray : public CObject
{
    DECLARE_DYNAMIC(CObArray)
public:
    CObArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    void SetSize(INT_PTR newSize) { m_items.resize(newSize > 0 ? newSize : 0, nullptr); }
    void RemoveAll() { m_items.clear(); }

    CObject* GetAt(INT_PTR index) const { return m_items.at(index); }
    void SetAt(INT_PTR index, CObject* element) { m_items.at(index) = element; }
    CObject*& ElementAt(INT_PTR index) { return m_items.at(index); }
    CObject* operator[](INT_PTR index) const { return GetAt(index); }
    CObject*& operator[](INT_PTR index) { return ElementAt(index); }

    INT_PTR Add(CObject* element)
    {
        m_items.push_back(element);
        return GetUpperBound();
    }
    void SetAtGrow(INT_PTR index, CObject* element);
    void InsertAt(INT_PTR index, CObject* element, INT_PTR count = 1);
    void RemoveAt(INT_PTR index, INT_PTR count = 1);

private:
    std::vector<CObject*> m_items;
};
