#pragma once

#include <cstddef>
#include <utility>
#include <vector>

/// Growable array of the wall-data component: layers, materials and numbers travel in it.
/// A thin value type over std::vector with the component's names (count, element access,
/// append, insert, remove, empty, copy); copying copies every element.
///
/// No index throws. An index outside the array reads a default element (a fresh `T()` at every
/// such access, so a write to it changes nothing the array holds), and SetAt, InsertAt and RemoveAt
/// change nothing and answer false: a slip in a caller shows as an empty value, never as an
/// exception unwinding through the event loop of the dialogs.
template <class T> class CTQArray
{
public:
    CTQArray() = default;

    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }
    bool IsValidIndex(int index) const { return index >= 0 && index < GetSize(); }

    /// The element at `index`, or a default element when the index lies outside [0, GetSize()).
    T& GetAt(int index) { return IsValidIndex(index) ? m_items[static_cast<std::size_t>(index)] : Outside(); }
    const T& GetAt(int index) const
    {
        return IsValidIndex(index) ? m_items[static_cast<std::size_t>(index)] : Outside();
    }
    T& operator[](int index) { return GetAt(index); }
    const T& operator[](int index) const { return GetAt(index); }

    /// Replaces the element at `index`; false (nothing changed) outside [0, GetSize()).
    bool SetAt(int index, const T& item)
    {
        if (!IsValidIndex(index))
            return false;
        m_items[static_cast<std::size_t>(index)] = item;
        return true;
    }

    /// Appends a copy and returns the new element's index.
    int Add(const T& item)
    {
        m_items.push_back(item);
        return GetSize() - 1;
    }
    int Add(T&& item)
    {
        m_items.push_back(std::move(item));
        return GetSize() - 1;
    }

    /// Inserts before `index` (GetSize() appends); false (nothing changed) outside [0, GetSize()].
    bool InsertAt(int index, const T& item)
    {
        if (index < 0 || index > GetSize())
            return false;
        m_items.insert(m_items.begin() + index, item);
        return true;
    }

    /// Removes the element at `index`; false (nothing changed) outside [0, GetSize()).
    bool RemoveAt(int index)
    {
        if (!IsValidIndex(index))
            return false;
        m_items.erase(m_items.begin() + index);
        return true;
    }

    void RemoveAll() { m_items.clear(); }
    void Copy(const CTQArray& other) { m_items = other.m_items; }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool operator==(const CTQArray& other) const = default;

private:
    /// The element an index outside the array reads: default again at every access.
    static T& Outside()
    {
        static thread_local T item;
        item = T();
        return item;
    }

    std::vector<T> m_items;
};

/// The thermal library's name for the same array.
template <class T> using CTQTheroyArray = CTQArray<T>;
