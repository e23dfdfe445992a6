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
