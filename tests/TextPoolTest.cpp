#include "db/TextPool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace kinmap {
namespace {

TEST(MurmurHash3, MatchesThePublishedFunction)
{
    EXPECT_EQ(murmurHash3("", 0, 0), 0u);
    EXPECT_EQ(murmurHash3("", 0, 1), 0x514E28B7u);
    EXPECT_EQ(murmurHash3("hello", 5, 0), 0x248BFA47u);
    const char* fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(murmurHash3(fox, strlen(fox), 0), 0x2E4FF723u);
    const unsigned char high[] = {0xFF, 0xFE}; // tail bytes count as unsigned
    EXPECT_NE(murmurHash3(high, 2, 4711), murmurHash3("\x7F\x7E", 2, 4711));
}

TEST(InternText, StoresEachTextOnceAcrossPools)
{
    TextStore store;
    const char* smith = store.internText(surnamePool, "  Smith\r\n");
    EXPECT_STREQ(smith, "Smith");
    const size_t used = store.pool(surnamePool).usedBytes();
    EXPECT_EQ(store.internText(surnamePool, "Smith"), smith);
    EXPECT_EQ(store.pool(surnamePool).usedBytes(), used);
    // Found through the shared hash table, not stored in the place pool.
    EXPECT_EQ(store.internText(placePool, "Smith"), smith);
    EXPECT_EQ(store.pool(placePool).usedBytes(), 1u);
}

TEST(InternText, EmptyAndNullGiveTheSharedEmptyText)
{
    TextStore store;
    EXPECT_EQ(store.internText(givenPool, nullptr), emptyText);
    EXPECT_EQ(store.internText(givenPool, ""), emptyText);
    EXPECT_EQ(store.internText(givenPool, "    "), emptyText);
    EXPECT_EQ(store.internText(givenPool, " \r\n"), emptyText);
    // Leading bytes below '(' are skipped, '(' itself is kept.
    EXPECT_STREQ(store.internText(givenPool, "\"!#$%&'(Anna)"), "(Anna)");
    EXPECT_STREQ(store.internText(givenPool, "Anna\nBerta"), "Anna");
}

TEST(InternText, AColliderIsReusedOnlyWhileItIsTheMostRecentText)
{
    // Find two texts that fall into one hash slot.
    std::vector<std::string> bySlot(TextStore::hashSlots);
    std::string first, second;
    for (int i = 0; second.empty(); ++i) {
        const std::string text = std::string("N").append(std::to_string(i));
        std::string& seen = bySlot[murmurHash3(text.data(), text.size(), TextStore::hashSeed) & 0x7FFF];
        if (!seen.empty()) {
            first = seen;
            second = text;
        }
        seen = text;
    }
    TextStore store;
    const char* a = store.internText(placePool, first.c_str());
    const char* b = store.internText(placePool, second.c_str());
    EXPECT_NE(a, b);
    EXPECT_EQ(store.internText(placePool, second.c_str()), b); // still the most recent
    EXPECT_EQ(store.internText(placePool, first.c_str()), a);  // holds the slot
    store.internText(placePool, "another text");
    const char* again = store.internText(placePool, second.c_str());
    EXPECT_NE(again, b); // stored a second time
    EXPECT_STREQ(again, second.c_str());
}

TEST(TextPool, TrimmingLeavesRoomForTenThousandBytes)
{
    TextStore store;
    std::string reported;
    store.onOverflow = [&](const char* message) { reported = message; };
    store.internText(surnamePool, "Meier");
    store.trimPools();
    EXPECT_EQ(store.pool(surnamePool).capacity(), store.pool(surnamePool).usedBytes() + 10000);

    const std::string long1(5000, 'a'), long2(4998, 'b'), tooMuch = "c";
    EXPECT_STREQ(store.internText(surnamePool, long1.c_str()), long1.c_str());
    EXPECT_STREQ(store.internText(surnamePool, long2.c_str()), long2.c_str()); // exactly fills the room
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(store.internText(surnamePool, tooMuch.c_str()), emptyText);
    EXPECT_EQ(reported, "\r\r\n\r\n\r\n\n!!!! Buffer overflow! !!!!\r\r\n\r\n\n");
    // Texts already stored are still found.
    EXPECT_STREQ(store.internText(surnamePool, "Meier"), "Meier");
}

} // namespace
} // namespace kinmap
