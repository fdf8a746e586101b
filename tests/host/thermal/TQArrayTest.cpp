#include "host/thermal/TQArray.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<int> Items(const CTQArray<int>& array)
{
    return {array.begin(), array.end()};
}

// Every index outside the array answers without throwing and changes nothing; a write through a
// bad GetAt lands in a scratch element that the next bad read shows as default again.
TEST(CTQArray, IndicesOutsideTheArrayChangeNothing)
{
    const struct
    {
        const char* call;
        std::function<bool(CTQArray<int>&)> act; ///< what the call answered
        bool bAnswer;
        std::vector<int> after;
    } table[] = {
        {"GetAt(-1)", [](CTQArray<int>& a) { return a.GetAt(-1) == 0; }, true, {10, 20, 30}},
        {"GetAt(size)", [](CTQArray<int>& a) { return a[3] == 0; }, true, {10, 20, 30}},
        {"write through GetAt(size)",
         [](CTQArray<int>& a) {
             a[3] = 7;
             return a[3] == 0;
         },
         true,
         {10, 20, 30}},
        {"const GetAt(-5)", [](CTQArray<int>& a) { return std::as_const(a)[-5] == 0; }, true, {10, 20, 30}},
        {"GetAt(1)", [](CTQArray<int>& a) { return a.GetAt(1) == 20; }, true, {10, 20, 30}},
        {"SetAt(1)", [](CTQArray<int>& a) { return a.SetAt(1, 21); }, true, {10, 21, 30}},
        {"SetAt(3)", [](CTQArray<int>& a) { return a.SetAt(3, 40); }, false, {10, 20, 30}},
        {"InsertAt(0)", [](CTQArray<int>& a) { return a.InsertAt(0, 5); }, true, {5, 10, 20, 30}},
        {"InsertAt(size) appends", [](CTQArray<int>& a) { return a.InsertAt(3, 40); }, true, {10, 20, 30, 40}},
        {"InsertAt(size + 1)", [](CTQArray<int>& a) { return a.InsertAt(4, 50); }, false, {10, 20, 30}},
        {"InsertAt(-1)", [](CTQArray<int>& a) { return a.InsertAt(-1, 0); }, false, {10, 20, 30}},
        {"RemoveAt(2)", [](CTQArray<int>& a) { return a.RemoveAt(2); }, true, {10, 20}},
        {"RemoveAt(3)", [](CTQArray<int>& a) { return a.RemoveAt(3); }, false, {10, 20, 30}},
        {"RemoveAt(-1)", [](CTQArray<int>& a) { return a.RemoveAt(-1); }, false, {10, 20, 30}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.call);
        CTQArray<int> array;
        for (int item : {10, 20, 30})
            array.Add(item);
        EXPECT_EQ(row.act(array), row.bAnswer);
        EXPECT_EQ(Items(array), row.after);
    }

    CTQArray<std::string> empty;
    EXPECT_FALSE(empty.RemoveAt(0));
    EXPECT_TRUE(empty[0].empty());
}

} // namespace
