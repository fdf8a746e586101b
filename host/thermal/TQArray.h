#pragma once

#include <cstddef>
#include <utility>
#include <vector>

/// Growable array of the wall-data component: layers, materials and numbers travel in it.
/// A thin value type over std::vector with the component's names (count, element access,
/// append, empty, copy); copying copies every element.
template <class T>
class CTQArray
{
public:
    CTQArray() = default;

    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    bool IsEmpty() const { return m_items.empty(); }

    /// Element access; the index must lie in [0, GetSize()).
    T& GetAt(int index) { return m_items.at(static_cast<std::size_t>(index)); }
    const T& GetAt(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    T& operator[](int index) { return GetAt(index); }
    const T& operator[](int index) const { return GetAt(index); }

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
    void InsertAt(int index, const T& item) { m_items.insert(m_items.begin() + index, item); }
    void RemoveAt(int index) { m_items.erase(m_items.begin() + index); }
    void RemoveAll() { m_items.clear(); }
    void Copy(const CTQArray& other) { m_items = other.m_items; }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    bool operator==(const CTQArray& other) const = default;

private:
    std::vector<T> m_items;
};

/// The thermal library's name for the same array.
template <class T>
using CTQTheroyArray = CTQArray<T>;
