// CObArray: growth, reads and writes inside and outside the array, and that it never deletes
// what it holds.
#include "platform/dialogs/collections.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

namespace {

class CCounted : public CObject
{
public:
    explicit CCounted(int* deletions) : m_deletions(deletions) {}
    ~CCounted() override { ++*m_deletions; }

private:
    int* m_deletions;
};

TEST(ObArray, AddsReadsAndRemovesInOrder)
{
    int deletions = 0;
    CCounted a(&deletions), b(&deletions), c(&deletions);
    CObArray array;
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(array.GetUpperBound(), -1);
    EXPECT_EQ(array.Add(&a), 0);
    EXPECT_EQ(array.Add(&b), 1);
    EXPECT_EQ(array.Add(&c), 2);
    EXPECT_EQ(array.GetSize(), 3);
    EXPECT_EQ(array.GetCount(), 3);
    EXPECT_EQ(array.GetAt(0), &a);
    EXPECT_EQ(array[2], &c);

    array.RemoveAt(1);
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array[1], &c);
    array.RemoveAt(0, 10);  // more than there are: up to the end
    EXPECT_TRUE(array.IsEmpty());

    array.Add(&a);
    array.RemoveAll();
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(deletions, 0) << "the holder deletes the elements, not the array";
}

TEST(ObArray, IndexesOutsideTheArrayReadNullAndWriteNothing)
{
    int deletions = 0;
    CCounted a(&deletions), b(&deletions);
    CObArray array;
    EXPECT_EQ(array.GetAt(0), nullptr) << "an empty array";
    array.Add(&a);
    for (INT_PTR index : {INT_PTR(-1), INT_PTR(1), INT_PTR(1000), INTPTR_MIN, INTPTR_MAX}) {
        EXPECT_EQ(array.GetAt(index), nullptr) << index;
        EXPECT_EQ(array[index], nullptr) << index;
        array.SetAt(index, &b);
        array.RemoveAt(index);
    }
    EXPECT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array[0], &a);
    array.SetAt(0, &b);
    EXPECT_EQ(array[0], &b);
    array.RemoveAt(0, 0);
    array.RemoveAt(0, -4);
    EXPECT_EQ(array.GetSize(), 1);
}

TEST(ObArray, SetSizeGrowsWithNullShrinksAndRefusesTheImpossible)
{
    int deletions = 0;
    CCounted a(&deletions);
    CObArray array;
    array.Add(&a);
    array.SetSize(4);
    ASSERT_EQ(array.GetSize(), 4);
    EXPECT_EQ(array[0], &a);
    EXPECT_EQ(array[3], nullptr);
    array.SetSize(1);
    EXPECT_EQ(array.GetSize(), 1);
    EXPECT_THROW(array.SetSize(INTPTR_MAX), std::bad_alloc);
    EXPECT_EQ(array.GetSize(), 1) << "unchanged after running out of memory";
    array.SetSize(-3);
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_TRUE(array.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(deletions, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
