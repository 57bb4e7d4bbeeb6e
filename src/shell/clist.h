#pragma once
// Growable arrays of pointers, the printing module's record and sheet lists. A CLIST holds untyped items that
// its delete operations free as plain memory blocks (malloc'ed by whoever put them in); a CLISTOBJ holds COBJ
// objects that it destroys through their virtual destructor. Both grow by a fixed step and throw the text
// "Chyba LIST" (a const char*) when their array cannot be allocated. Main thread only.
#include <cstddef>

class COBJ
{
public:
    COBJ() = default;
    COBJ(const COBJ&) = default;
    COBJ& operator=(const COBJ&) = default;
    virtual ~COBJ() = default;
};

// How a list gets and moves its array (realloc's contract); tests put in one that fails.
using ListRealloc = void* (*)(void* block, std::size_t bytes);

class CLIST
{
public:
    CLIST(int capacity, int step, ListRealloc reallocate = nullptr);
    virtual ~CLIST();
    CLIST(const CLIST&) = delete;
    CLIST& operator=(const CLIST&) = delete;

    // Takes the item out and frees it; the item is freed even when the list does not hold it.
    virtual void Delete(void* item);
    // Takes the item at the index out and frees it; an index outside the list does nothing.
    virtual void Delete(int index);
    // Frees every item and empties the list; the number of items it held.
    virtual int DeleteAll();

    // Puts the item at the position (one past the end, or negative, appends); the items from there move up.
    void Insert(void* item, int position = -1);
    // Takes the first place holding the item out; the following items move down.
    void Remove(void* item);
    // Takes the item at the index out and returns it; nothing for an index outside 0..count-1.
    void* Remove(int index);
    // Forgets every item without freeing it.
    void Clear() { m_count = 0; }

    [[nodiscard]] int Count() const { return m_count; }
    [[nodiscard]] int Capacity() const { return m_capacity; }
    [[nodiscard]] void* Item(int index) const { return index >= 0 && index < m_count ? m_items[index] : nullptr; }
    // A place that receives the array's address whenever the array moves (and at once).
    void SetOwnerSlot(void*** slot);

protected:
    [[nodiscard]] int indexOf(const void* item) const;

private:
    void grow();

    void** m_items = nullptr;
    int m_capacity = 0;
    int m_step = 0;
    int m_count = 0;
    void*** m_ownerSlot = nullptr;
    ListRealloc m_reallocate;
};

class CLISTOBJ final : public CLIST
{
public:
    CLISTOBJ(int capacity, int step, ListRealloc reallocate = nullptr);
    // Destroys the objects it still holds, so that none is freed without its destructor.
    ~CLISTOBJ() override;

    void Delete(void* item) override;
    void Delete(int index) override;
    int DeleteAll() override;
    void Delete(COBJ* object) { Delete(static_cast<void*>(object)); }

    void Insert(COBJ* object, int position = -1) { CLIST::Insert(object, position); }
    [[nodiscard]] COBJ* Object(int index) const { return static_cast<COBJ*>(Item(index)); }
    // The item array as the owner slot keeps it: it follows every move of the array.
    [[nodiscard]] void** View() const { return m_view; }

private:
    void** m_view = nullptr;
};
