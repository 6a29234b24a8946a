// Tests of c_String's storage: layout, capacity rule, construction, assignment and failures.

#include "strings/c_StringNoCase.h"

#include "strings/testing/c_FailingAllocation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

// Counts global operator new calls, so that a test can see that string operations make none.
namespace {
std::atomic<long> g_OperatorNewCalls{0};
}

void* operator new(std::size_t size) {
    ++g_OperatorNewCalls;
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#pragma GCC diagnostic pop

namespace {

std::string Repeat(char c, int count) {
    return std::string(static_cast<size_t>(count), c);
}

TEST(String, LayoutIsPinned) {
    c_String inlineText("abc");
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&inlineText);
    EXPECT_EQ(bytes[31], 4); // stored size 3 + 1, heap bit clear
    EXPECT_EQ(std::memcmp(bytes, "abc", 4), 0);

    c_String heapText(c_StringView(Repeat('x', 40).c_str()));
    bytes = reinterpret_cast<const unsigned char*>(&heapText);
    EXPECT_EQ(bytes[31], 0x80);
    std::int32_t capacity;
    std::int32_t storedSize;
    const char* block;
    std::memcpy(&block, bytes, 8);
    std::memcpy(&capacity, bytes + 8, 4);
    std::memcpy(&storedSize, bytes + 12, 4);
    EXPECT_EQ(block, heapText.GetChars());
    EXPECT_EQ(capacity, 64);
    EXPECT_EQ(storedSize, 41);
    for (int i = 16; i < 31; ++i) {
        EXPECT_EQ(bytes[i], 0) << i;
    }
}

TEST(String, CapacityRuleAcrossLengths) {
    struct Case {
        int length;
        bool onHeap;
        int capacity;
    } cases[] = {
        {0, false, 31}, {30, false, 31}, {31, true, 32}, {32, true, 64}, {33, true, 64}, {1000, true, 1024},
    };
    for (const Case& row : cases) {
        const std::string text = Repeat('a', row.length);
        const c_String built(c_StringView(text.c_str()));
        EXPECT_EQ(built.IsOnHeap(), row.onHeap) << row.length;
        EXPECT_EQ(built.GetCapacity(), row.capacity) << row.length;
        EXPECT_EQ(built.GetLength(), row.length);
        EXPECT_EQ(built.GetChars(), text);
    }
    struct SizeCase {
        int storedSize;
        int capacity;
    } sizes[] = {
        {32, 32}, {33, 64}, {1000, 1024}, {0x40000000, 0x40000000}, {0x40000001, 0x7FFFFFFF}, {INT_MAX, 0x7FFFFFFF}};
    for (const SizeCase& row : sizes) {
        EXPECT_EQ(c_String::GetStringCapacity(row.storedSize), row.capacity) << row.storedSize;
    }
}

TEST(String, DefaultAndEmptyStates) {
    const c_String empty;
    EXPECT_EQ(empty.GetStoredSize(), 0);
    EXPECT_EQ(empty.GetLength(), 0);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ(empty.GetChars(), "");
    const c_String fromEmptyView{c_StringView("")};
    EXPECT_EQ(fromEmptyView.GetStoredSize(), 1);
    EXPECT_TRUE(fromEmptyView == empty);
    const char* null = nullptr;
    EXPECT_EQ(c_String(null).GetStoredSize(), 1);
    EXPECT_EQ(c_String(null, 5).GetStoredSize(), 1);
    EXPECT_EQ(c_String("abc", -1).GetStoredSize(), 1);
    // The shared empty text is a constant: every empty string hands out the same readable byte.
    EXPECT_EQ(empty.GetChars(), fromEmptyView.GetChars());
}

TEST(String, ConstructionFromPointerStopsAtNul) {
    EXPECT_EQ(c_String("abc\0def", 7).GetLength(), 3);
    EXPECT_STREQ(c_String("abc\0def", 7).GetChars(), "abc");
    EXPECT_STREQ(c_String("abcdef", 2).GetChars(), "ab");
}

// The one-character table: 1 to 127 are one-byte texts, NUL and 0x80-0xFF the empty text.
TEST(String, OneCharacterTable) {
    struct Case {
        char c;
        bool isText;
    } cases[] = {{'\0', false}, {'\x01', true}, {'A', true}, {'\x7F', true}, {'\x80', false}, {'\xFF', false}};
    for (const Case& row : cases) {
        const int length = row.isText ? 1 : 0;
        const c_String built(row.c);
        EXPECT_EQ(built.GetLength(), length) << int(row.c);
        EXPECT_EQ(built.GetStoredSize(), 1 + length);

        c_String assigned("xyz");
        assigned = row.c;
        EXPECT_EQ(assigned.GetLength(), length);

        c_String appended("xyz");
        appended += row.c;
        EXPECT_EQ(appended.GetLength(), 3 + length);

        const c_String haystack(c_StringView("A\x01\x7F\x80\xFF", 5));
        EXPECT_EQ(haystack.Find(row.c) >= 0, row.isText) << int(row.c);
        if (row.isText) {
            EXPECT_EQ(built.GetChars()[0], row.c);
            EXPECT_TRUE(built == row.c);
        } else {
            EXPECT_TRUE(built.IsEmpty());
        }
    }
}

TEST(String, CopyKeepsTheCapacityAndMoveEmptiesTheSource) {
    c_String source;
    source.Reserve(60);
    source = "abc";
    ASSERT_EQ(source.GetCapacity(), 64);
    const c_String copy(source);
    EXPECT_EQ(copy.GetCapacity(), 64);
    EXPECT_NE(copy.GetChars(), source.GetChars());
    EXPECT_STREQ(copy.GetChars(), "abc");

    const char* block = source.GetChars();
    c_String moved(static_cast<c_String&&>(source));
    EXPECT_EQ(moved.GetChars(), block);
    EXPECT_EQ(source.GetStoredSize(), 0);
    EXPECT_FALSE(source.IsOnHeap());
}

TEST(String, Reserve) {
    c_String text;
    EXPECT_FALSE(text.Reserve(INT_MAX));
    EXPECT_TRUE(text.Reserve(-5));
    EXPECT_EQ(text.GetStoredSize(), 0);
    EXPECT_TRUE(text.Reserve(100));
    EXPECT_EQ(text.GetCapacity(), 128);
    EXPECT_EQ(text.GetLength(), 0);
    {
        c_FailingAllocation failing;
        c_String small("abc");
        EXPECT_TRUE(small.Reserve(1000));
        EXPECT_FALSE(small.IsOnHeap());
        EXPECT_STREQ(small.GetChars(), "abc");
    }
}

TEST(String, AssignmentFromOwnText) {
    c_String text(c_StringView(Repeat('a', 20).append("tail-of-a-heap-string").c_str()));
    const char* block = text.GetChars();
    text = text.RightFrom(2);
    EXPECT_EQ(text.GetChars(), block);
    EXPECT_EQ(text.GetLength(), 39);
    EXPECT_TRUE(text.EndsWith("heap-string"));

    c_String inlineText("abcdef");
    inlineText = inlineText.Mid(2, 3);
    EXPECT_STREQ(inlineText.GetChars(), "cde");

    c_String self("same");
    self = self;
    EXPECT_STREQ(self.GetChars(), "same");
}

TEST(String, HeapStringsNeverShrink) {
    c_String text(c_StringView(Repeat('z', 50).c_str()));
    text.SetLength(0);
    EXPECT_TRUE(text.IsOnHeap());
    EXPECT_EQ(text.GetCapacity(), 64);
    text = "short";
    EXPECT_TRUE(text.IsOnHeap());
    text.Clear();
    EXPECT_EQ(text.GetStoredSize(), 1);
    EXPECT_TRUE(text.IsOnHeap());
    text.Free();
    EXPECT_FALSE(text.IsOnHeap());
    EXPECT_EQ(text.GetStoredSize(), 0);
}

TEST(String, SetLengthAndTruncate) {
    c_String text("abc");
    text.SetLength(-1);
    EXPECT_STREQ(text.GetChars(), "abc");
    text.SetLength(40);
    EXPECT_EQ(text.GetLength(), 40);
    EXPECT_EQ(text.GetChars()[40], 0);
    text.Truncate(2);
    EXPECT_STREQ(text.GetChars(), "ab");
    text.Truncate(10);
    EXPECT_STREQ(text.GetChars(), "ab");
    text.Truncate(-5);
    EXPECT_STREQ(text.GetChars(), "");
}

TEST(String, RawBuffersAndFromBuffer) {
    c_String buffer(16);
    EXPECT_EQ(buffer.GetStoredSize(), 16);
    std::memcpy(buffer.GetBuffer(), "ab\0", 3);
    const c_String cut = c_String::FromBuffer(static_cast<c_String&&>(buffer));
    EXPECT_STREQ(cut.GetChars(), "ab");
    EXPECT_EQ(buffer.GetStoredSize(), 0);

    c_String full(5);
    std::memcpy(full.GetBuffer(), "hello", 5);
    const c_String whole = c_String::FromBuffer(static_cast<c_String&&>(full));
    EXPECT_EQ(whole.GetStoredSize(), 6);
    EXPECT_STREQ(whole.GetChars(), "hello");

    c_String large(100);
    EXPECT_TRUE(large.IsOnHeap());
    EXPECT_EQ(large.GetCapacity(), 128);
    EXPECT_EQ(c_String(-1).GetStoredSize(), 0);

    c_String target("old");
    c_String filled(31);
    std::memset(filled.GetBuffer(), 'q', 31);
    target.AssignFromBuffer(filled);
    EXPECT_EQ(target.GetLength(), 31);
    EXPECT_STREQ(filled.GetChars(), "old");

    c_String raw("ab");
    raw.AppendRaw("cd", 2);
    EXPECT_EQ(raw.GetStoredSize(), 5); // placed after the NUL: 'a','b',0,'c','d'
    raw.CutAtNul();
    EXPECT_STREQ(raw.GetChars(), "ab");
}

TEST(String, ToSpanCoversTheTextWithoutItsNul) {
    const c_String text("hello");
    EXPECT_EQ(text.ToSpan().m_Size, 5u);
    EXPECT_EQ(text.ToSpan().m_p_Data, text.GetChars());
    const c_String heapText(c_StringView(Repeat('h', 40).c_str()));
    EXPECT_EQ(heapText.ToSpan().m_Size, 40u);
    EXPECT_EQ(heapText.ToSpan().m_p_Data, heapText.GetChars());
    EXPECT_EQ(c_String().ToSpan().m_Size, 0u);
}

TEST(String, IndexingOutOfRangeGivesAFallbackByte) {
    c_String text("abc");
    EXPECT_EQ(text[1], 'b');
    text[1] = 'x';
    EXPECT_STREQ(text.GetChars(), "axc");
    for (int index : {-1, 3, INT_MAX, INT_MIN}) {
        char& fallback = text[index];
        EXPECT_EQ(fallback, 0);
        fallback = 'z';
    }
    EXPECT_STREQ(text.GetChars(), "axc");
    EXPECT_EQ(text[-1], 0);
}

TEST(String, OrderedMapKeys) {
    std::map<c_String, int> byName{{"b", 2}, {"", 0}, {"ab", 1}, {"a", 3}};
    auto it = byName.begin();
    EXPECT_TRUE(it++->first.IsEmpty());
    EXPECT_TRUE(it++->first == "a");
    EXPECT_TRUE(it++->first == "ab");
    EXPECT_TRUE(it->first == "b");
}

// Each row arms the allocator to fail the first allocation of one operation.
TEST(String, AllocationFailures) {
    const std::string longText = Repeat('l', 40);
    const c_StringView longView(longText.c_str());
    {
        c_FailingAllocation failing;
        const c_String built(longView);
        EXPECT_EQ(built.GetStoredSize(), 0) << "constructor gives the default state";
    }
    {
        c_String heap(longView);
        c_FailingAllocation failing;
        const c_String copy(heap);
        EXPECT_EQ(copy.GetStoredSize(), 0) << "copy gives the default state";
        EXPECT_EQ(heap.GetLength(), 40);
    }
    {
        c_String assigned("abc");
        c_FailingAllocation failing;
        assigned = longView;
        EXPECT_EQ(assigned.GetStoredSize(), 1) << "assignment clears";
    }
    {
        c_String appended("abc");
        c_FailingAllocation failing;
        appended += longView;
        EXPECT_STREQ(appended.GetChars(), "abc") << "append leaves the text unchanged";
    }
    {
        c_String grown(c_StringView(Repeat('g', 60).c_str()));
        c_FailingAllocation failing;
        grown.Append(longView);
        EXPECT_EQ(grown.GetLength(), 60) << "append that reallocates leaves the text unchanged";
        n_Memory::FailNthAllocation(1);
        grown.SetLength(500);
        EXPECT_EQ(grown.GetLength(), 60);
    }
    {
        c_String shortBuffer(31);
        std::memset(shortBuffer.GetBuffer(), 'q', 31);
        c_FailingAllocation failing;
        const c_String cut = c_String::FromBuffer(static_cast<c_String&&>(shortBuffer));
        EXPECT_EQ(cut.GetChars()[cut.GetLength()], 0) << "FromBuffer always ends in a NUL";
        EXPECT_TRUE(cut.IsEmpty()) << "no text that looks whole";
    }
}

TEST(String, StringOperationsNeverCallOperatorNew) {
    const std::string source = Repeat('n', 100);
    const long before = g_OperatorNewCalls.load();
    c_String text(c_StringView(source.c_str()));
    text += "more";
    text.AppendFormat("%d-%s", 42, "x");
    text.Insert(3, "ins");
    text.ReplaceAll("n", "NN");
    const c_String joined = Concat({text, "-", text.Left(5)}) + "tail" + 'c';
    const c_String copy = joined;
    const int found = copy.FindLastOf({'-', 'c'});
    c_StringNoCase key("Content-Length");
    key.MakeLower();
    EXPECT_EQ(g_OperatorNewCalls.load(), before);
    EXPECT_GT(found, 0);
}

} // namespace
