/*
 * The bounded text helpers every path rests on, at the edge of their
 * buffers: a result of n characters needs a capacity of n + 1. One less is
 * refused with the buffer left empty, the exact capacity and one more take
 * it whole, and no call ever writes a unit at or past its capacity.
 */
#include <gtest/gtest.h>
#include <string>
#include "common/bounded_text.h"

namespace {

enum { GUARD = 0x5A5A, ROOM = 64 };

/* Each helper producing the same 9-character result "\\Temp\\a.b" from
 * pieces, run into dst with the given capacity. */
struct Helper {
    const char *name;
    bool (*run)(WCHAR *dst, size_t capacity);
};

bool Copy(WCHAR *dst, size_t capacity) { return CopyText(dst, capacity, L"\\Temp\\a.b"); }
bool Append(WCHAR *dst, size_t capacity)
{
    /* "\\Temp" is already there; the capacity check covers what is present. */
    for (size_t i = 0; i < 5 && i < capacity; i++)
        dst[i] = L"\\Temp"[i];
    if (capacity > 5)
        dst[5] = 0;
    return AppendText(dst, capacity, L"\\a.b");
}
bool Join(WCHAR *dst, size_t capacity) { return JoinPath(dst, capacity, L"\\Temp", L"a.b"); }
bool Format(WCHAR *dst, size_t capacity) { return FormatText(dst, capacity, L"\\%s\\%c.%s", L"Temp", L'a', L"b"); }

const Helper HELPERS[] = {
    { "CopyText", Copy }, { "AppendText", Append }, { "JoinPath", Join }, { "FormatText", Format },
};

} // namespace

TEST(BoundedText, EveryHelperAtCapacityMinusOneExactAndPlusOne)
{
    const std::wstring result = L"\\Temp\\a.b";
    const size_t exact = result.size() + 1;
    struct Case {
        size_t capacity;
        bool fits;
    } cases[] = { { exact - 1, false }, { exact, true }, { exact + 1, true } };

    for (const Helper &h : HELPERS) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(h.name) + " capacity " + std::to_string(c.capacity));
            WCHAR buffer[ROOM];
            for (WCHAR &unit : buffer)
                unit = GUARD;
            EXPECT_EQ(h.run(buffer, c.capacity), c.fits);
            EXPECT_EQ(std::wstring(buffer), c.fits ? result : L"") << "a refused result leaves the buffer empty";
            for (size_t i = c.capacity; i < ROOM; i++)
                ASSERT_EQ(buffer[i], GUARD) << "wrote past the capacity at " << i;
        }
    }
}

TEST(BoundedText, NoCapacityAndAFullUnterminatedBufferAreRefused)
{
    WCHAR buffer[4] = { GUARD, GUARD, GUARD, GUARD };
    EXPECT_FALSE(CopyText(buffer, 0, L""));
    EXPECT_FALSE(FormatText(buffer, 0, L"x"));
    EXPECT_EQ(buffer[0], GUARD) << "a capacity of 0 writes nothing";

    /* An unterminated buffer holds no text to append to. */
    WCHAR full[3] = { L'a', L'b', L'c' };
    EXPECT_FALSE(AppendText(full, 3, L""));
    EXPECT_EQ(full[0], 0);

    EXPECT_EQ(BoundedLength(L"abc", 2), 2u);
    EXPECT_EQ(BoundedLength(L"abc", 9), 3u);
}
