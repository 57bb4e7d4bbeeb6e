// The list classes: growth by their step, places and moves, ownership of what they hold, and the text they
// throw when memory runs out. Under AddressSanitizer a double or a missing delete shows as a failure.
#include "shell/clist.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A record that counts its destructions.
class Counted final : public COBJ
{
public:
    explicit Counted(std::vector<int>& destroyed, int id) : m_destroyed(destroyed), m_id(id) {}
    ~Counted() override { m_destroyed.push_back(m_id); }

private:
    std::vector<int>& m_destroyed;
    int m_id;
};

void* block(int value)
{
    auto* p = static_cast<int*>(std::malloc(sizeof(int)));
    *p = value;
    return p;
}

int valueAt(const CLIST& list, int index)
{
    return *static_cast<int*>(list.Item(index));
}

// Out of memory after a given number of allocations.
int g_allocationsLeft = 0;
void* failingRealloc(void* p, std::size_t bytes)
{
    if (g_allocationsLeft-- <= 0) return nullptr;
    return std::realloc(p, bytes);
}

std::string thrownText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const char* text) {
        return text;
    }
    return "";
}

}  // namespace

TEST(CLIST, GrowsByItsStepAndTellsTheOwnerSlotWhereTheArrayWent)
{
    CLIST list(50, 50);
    void** slot = nullptr;
    list.SetOwnerSlot(&slot);
    void** first = slot;
    ASSERT_NE(first, nullptr);
    for (int i = 0; i < 160; ++i) {
        list.Insert(block(i));
        if (i == 49) {
            EXPECT_EQ(list.Capacity(), 50);
        }
        if (i == 50) {
            EXPECT_EQ(list.Capacity(), 100);
        }
    }
    EXPECT_EQ(list.Capacity(), 200);
    EXPECT_EQ(list.Count(), 160);
    for (int i = 0; i < 160; ++i) EXPECT_EQ(valueAt(list, i), i);
    EXPECT_EQ(slot[159], list.Item(159));  // the slot holds the array as it is now
    EXPECT_EQ(slot[160], nullptr);         // new places are empty
    EXPECT_EQ(list.DeleteAll(), 160);
    EXPECT_EQ(list.Count(), 0);
}

TEST(CLIST, PlacesAndMoves)
{
    CLIST list(2, 2);
    list.Insert(block(1));
    list.Insert(block(2), -1);
    list.Insert(block(3), 99);  // past the end: appended
    list.Insert(block(0), 0);   // the three move up one place
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(valueAt(list, i), i);

    EXPECT_EQ(list.Remove(5), nullptr);  // outside: nothing
    EXPECT_EQ(list.Remove(-1), nullptr);
    EXPECT_EQ(list.Count(), 4);
    void* two = list.Item(2);
    list.Remove(two);  // by pointer: the following items move down
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(valueAt(list, 2), 3);
    list.Remove(two);  // no longer held: nothing
    EXPECT_EQ(list.Count(), 3);
    std::free(two);

    void* zero = list.Remove(0);
    EXPECT_EQ(*static_cast<int*>(zero), 0);
    EXPECT_EQ(valueAt(list, 0), 1);
    std::free(zero);
    list.Delete(0);  // removed and freed
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(valueAt(list, 0), 3);
}

TEST(CLISTOBJ, DestroysWhatItHoldsExactlyOnce)
{
    std::vector<int> destroyed;
    {
        CLISTOBJ list(2, 2);
        for (int i = 0; i < 6; ++i) list.Insert(new Counted(destroyed, i));
        EXPECT_EQ(list.View()[5], list.Object(5));  // the view followed the array's moves

        COBJ* second = list.Object(1);
        list.Delete(second);  // by pointer
        list.Delete(0);       // by index
        list.Delete(99);      // outside: nothing
        EXPECT_EQ(destroyed, (std::vector<int>{1, 0}));
        EXPECT_EQ(list.Count(), 4);

        EXPECT_EQ(list.DeleteAll(), 4);
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(destroyed.size(), 6u);

        list.Insert(new Counted(destroyed, 6));
        list.Insert(new Counted(destroyed, 7));
    }
    // Objects still held when the list goes are destroyed with it, not freed as plain memory.
    EXPECT_EQ(destroyed, (std::vector<int>{1, 0, 5, 4, 3, 2, 7, 6}));
}

TEST(CLISTOBJ, ClearForgetsWithoutDestroying)
{
    std::vector<int> destroyed;
    Counted kept(destroyed, 1);
    {
        CLISTOBJ list(4, 4);
        list.Insert(&kept);
        list.Clear();
        EXPECT_EQ(list.Count(), 0);
    }
    EXPECT_TRUE(destroyed.empty());
}

TEST(CLIST, OutOfMemoryThrowsChybaListAndKeepsTheList)
{
    g_allocationsLeft = 0;
    EXPECT_EQ(thrownText([] { CLIST list(10, 10, &failingRealloc); }), "Chyba LIST");
    EXPECT_EQ(thrownText([] { CLISTOBJ list(10, 10, &failingRealloc); }), "Chyba LIST");

    std::vector<int> destroyed;
    g_allocationsLeft = 1;  // the first array, then no more
    CLISTOBJ list(2, 2, &failingRealloc);
    list.Insert(new Counted(destroyed, 0));
    list.Insert(new Counted(destroyed, 1));
    auto* third = new Counted(destroyed, 2);
    EXPECT_EQ(thrownText([&] { list.Insert(third); }), "Chyba LIST");
    delete third;
    EXPECT_EQ(list.Count(), 2);  // the old array is still the list's
    EXPECT_EQ(list.Capacity(), 2);
    EXPECT_EQ(list.View()[1], list.Object(1));
    EXPECT_EQ(thrownText([] { CLIST list(-1, 10); }), "Chyba LIST");
    EXPECT_EQ(thrownText([] {
                  CLIST list(0, 0);
                  list.Insert(nullptr);  // full, and no step to grow by
              }),
              "Chyba LIST");
}
