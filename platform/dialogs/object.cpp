// platform/dialogs/object.cpp
#include "platform/dialogs/object.h"

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* record = this; record != nullptr;
         record = record->m_pfnGetBaseClass ? record->m_pfnGetBaseClass() : nullptr) {
        if (record == base)
            return TRUE;
    }
    return FALSE;
}

const CRuntimeClass* CObject::GetThisClass()
{
    static const CRuntimeClass record = {"CObject", static_cast<int>(sizeof(CObject)), nullptr, nullptr};
    return &record;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return GetThisClass(); }

BOOL CObject::IsKindOf(const CRuntimeClass* runtimeClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
}

IMPLEMENT_DYNAMIC(CObArray, CObject)

void CObArray::SetAtGrow(INT_PTR index, CObject* element)
{
    if (index < 0)
        return;
    if (index >= GetSize())
        SetSize(index + 1);
    m_items[index] = element;
}

void CObArray::InsertAt(INT_PTR index, CObject* element, INT_PTR count)
{
    if (index < 0 || count <= 0)
        return;
    if (index > GetSize())
        SetSize(index);
    m_items.insert(m_items.begin() + index, count, element);
}

void CObArray::RemoveAt(INT_PTR index, INT_PTR count)
{
    if (index < 0 || count <= 0 || index >= GetSize())
        return;
    INT_PTR last = index + count < GetSize() ? index + count : GetSize();
    m_items.erase(m_items.begin() + index, m_items.begin() + last);
}
