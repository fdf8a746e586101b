#include "host/thermal/TQArray.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <utility>
#include <vector>

// Every index outside the array answers without throwing and changes nothing; a write through a
// bad GetAt lands in a scratch element that the next bad read shows as default again.
TEST(CTQArray, IndicesOutsideTheArrayChangeNothing)
{
    using Array = CTQArray<int>;
    // The call on {10, 20, 30}, what it answered, and the array after it.
    const std::tuple<const char*, std::function<bool(Array&)>, bool, std::vector<int>> table[] = {
        {"GetAt(-1)", [](Array& a) { return a.GetAt(-1) == 0; }, true, {10, 20, 30}},
        {"write through [3]", [](Array& a) { return (a[3] = 7, a[3] == 0); }, true, {10, 20, 30}},
        {"const [-5]", [](Array& a) { return std::as_const(a)[-5] == 0; }, true, {10, 20, 30}},
        {"GetAt(1)", [](Array& a) { return a.GetAt(1) == 20; }, true, {10, 20, 30}},
        {"SetAt(1)", [](Array& a) { return a.SetAt(1, 21); }, true, {10, 21, 30}},
        {"SetAt(3)", [](Array& a) { return a.SetAt(3, 40); }, false, {10, 20, 30}},
        {"InsertAt(0)", [](Array& a) { return a.InsertAt(0, 5); }, true, {5, 10, 20, 30}},
        {"InsertAt(3) appends", [](Array& a) { return a.InsertAt(3, 40); }, true, {10, 20, 30, 40}},
        {"InsertAt(4)", [](Array& a) { return a.InsertAt(4, 50); }, false, {10, 20, 30}},
        {"InsertAt(-1)", [](Array& a) { return a.InsertAt(-1, 0); }, false, {10, 20, 30}},
        {"RemoveAt(2)", [](Array& a) { return a.RemoveAt(2); }, true, {10, 20}},
        {"RemoveAt(3)", [](Array& a) { return a.RemoveAt(3); }, false, {10, 20, 30}},
        {"RemoveAt(-1)", [](Array& a) { return a.RemoveAt(-1); }, false, {10, 20, 30}},
    };
    for (const auto& [call, act, bAnswer, after] : table) {
        Array array;
        for (int item : {10, 20, 30})
            array.Add(item);
        EXPECT_EQ(act(array), bAnswer) << call;
        EXPECT_EQ(std::vector<int>(array.begin(), array.end()), after) << call;
    }
}
