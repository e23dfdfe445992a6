// platform/dialogs/collections.cpp
#include "platform/dialogs/collections.h"

#include <new>

IMPLEMENT_DYNAMIC(CObArray, CObject)

void CObArray::SetSize(INT_PTR newSize)
{
    if (newSize < 0)
        newSize = 0;
    if (static_cast<size_t>(newSize) > m_items.max_size())
        throw std::bad_alloc();
    m_items.resize(static_cast<size_t>(newSize), nullptr);
}

void CObArray::SetAt(INT_PTR index, CObject* element)
{
    if (IsIndex(index))
        m_items[static_cast<size_t>(index)] = element;
}

INT_PTR CObArray::Add(CObject* element)
{
    m_items.push_back(element);
    return GetUpperBound();
}

void CObArray::RemoveAt(INT_PTR index, INT_PTR count)
{
    if (!IsIndex(index) || count <= 0)
        return;
    const INT_PTR end = count < GetSize() - index ? index + count : GetSize();
    m_items.erase(m_items.begin() + index, m_items.begin() + end);
}
