// platform/dialogs/collections.h
// CObArray: a growable array of CObject pointers.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/dialogs/object.h"

// The array holds pointers only: whoever puts an element in deletes it (as the pie chart does
// with its pieces). An index outside the array reads NULL and writes nothing. Growing throws
// std::bad_alloc when memory runs out, and the array is then as it was.
class CObArray : public CObject
{
    DECLARE_DYNAMIC(CObArray)
public:
    CObArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_items.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }
    // New elements are NULL; a size below 0 empties the array.
    void SetSize(INT_PTR newSize);
    void RemoveAll() { m_items.clear(); }

    CObject* GetAt(INT_PTR index) const { return IsIndex(index) ? m_items[static_cast<size_t>(index)] : nullptr; }
    void SetAt(INT_PTR index, CObject* element);
    CObject* operator[](INT_PTR index) const { return GetAt(index); }

    // The index of the new element.
    INT_PTR Add(CObject* element);
    void RemoveAt(INT_PTR index, INT_PTR count = 1);

private:
    bool IsIndex(INT_PTR index) const { return index >= 0 && index < GetSize(); }

    std::vector<CObject*> m_items;
};
