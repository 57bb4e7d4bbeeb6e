#include "shell/clist.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

void* systemRealloc(void* block, std::size_t bytes)
{
    return std::realloc(block, bytes);
}

// Out of memory, or a size no array can have: the lists' one error.
[[noreturn]] void listFailed()
{
    throw "Chyba LIST";
}

}  // namespace

CLIST::CLIST(int capacity, int step, ListRealloc reallocate)
    : m_capacity(capacity), m_step(step), m_reallocate(reallocate != nullptr ? reallocate : &systemRealloc)
{
    if (capacity < 0 || step < 0) listFailed();
    const std::size_t bytes = static_cast<std::size_t>(capacity > 0 ? capacity : 1) * sizeof(void*);
    m_items = static_cast<void**>(m_reallocate(nullptr, bytes));
    if (m_items == nullptr) listFailed();
    std::memset(m_items, 0, bytes);
}

CLIST::~CLIST()
{
    CLIST::DeleteAll();
    std::free(m_items);
}

void CLIST::SetOwnerSlot(void*** slot)
{
    m_ownerSlot = slot;
    if (m_ownerSlot != nullptr) *m_ownerSlot = m_items;
}

int CLIST::indexOf(const void* item) const
{
    for (int i = 0; i < m_count; ++i)
        if (m_items[i] == item) return i;
    return -1;
}

void CLIST::grow()
{
    if (m_step <= 0 || m_capacity > INT_MAX - m_step) listFailed();
    const int capacity = m_capacity + m_step;
    void** items = static_cast<void**>(m_reallocate(m_items, static_cast<std::size_t>(capacity) * sizeof(void*)));
    if (items == nullptr) listFailed();  // the old array stays the list's
    std::memset(items + m_capacity, 0, static_cast<std::size_t>(m_step) * sizeof(void*));
    m_items = items;
    m_capacity = capacity;
    if (m_ownerSlot != nullptr) *m_ownerSlot = m_items;
}

void CLIST::Insert(void* item, int position)
{
    if (m_count >= m_capacity) grow();
    if (position < 0 || position > m_count) position = m_count;
    std::memmove(m_items + position + 1, m_items + position,
                 static_cast<std::size_t>(m_count - position) * sizeof(void*));
    m_items[position] = item;
    ++m_count;
}

void CLIST::Remove(void* item)
{
    const int index = indexOf(item);
    if (index >= 0) (void)Remove(index);
}

void* CLIST::Remove(int index)
{
    if (index < 0 || index >= m_count) return nullptr;
    void* item = m_items[index];
    std::memmove(m_items + index, m_items + index + 1, static_cast<std::size_t>(m_count - index - 1) * sizeof(void*));
    --m_count;
    m_items[m_count] = nullptr;
    return item;
}

void CLIST::Delete(void* item)
{
    Remove(item);
    std::free(item);
}

void CLIST::Delete(int index)
{
    std::free(Remove(index));
}

int CLIST::DeleteAll()
{
    const int count = m_count;
    for (int i = 0; i < m_count; ++i) {
        std::free(m_items[i]);
        m_items[i] = nullptr;
    }
    m_count = 0;
    return count;
}

CLISTOBJ::CLISTOBJ(int capacity, int step, ListRealloc reallocate) : CLIST(capacity, step, reallocate)
{
    SetOwnerSlot(&m_view);
}

CLISTOBJ::~CLISTOBJ()
{
    CLISTOBJ::DeleteAll();
}

void CLISTOBJ::Delete(void* item)
{
    Remove(item);
    delete static_cast<COBJ*>(item);
}

void CLISTOBJ::Delete(int index)
{
    delete static_cast<COBJ*>(Remove(index));
}

int CLISTOBJ::DeleteAll()
{
    const int count = Count();
    // From the end, so that no item moves while the others are destroyed.
    while (Count() > 0) delete static_cast<COBJ*>(Remove(Count() - 1));
    return count;
}
