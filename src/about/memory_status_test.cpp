#include "memory_status.h"

#include <gtest/gtest.h>

namespace about {
namespace {

TEST(MemoryStatus, TotalIsGroupedKilobytesRoundedHalfUp) {
    const struct {
        std::uint64_t bytes;
        const char* text;
    } cases[] = {
        {1073741824ULL, "1,048,576 KB"},
        {2146938880ULL, "2,096,620 KB"},
        {1024ULL * 999, "999 KB"},
        {1024ULL * 1000, "1,000 KB"},
        {1024ULL * 999 + 511, "999 KB"},
        {1024ULL * 999 + 512, "1,000 KB"},
        {1024ULL * 123456789, "123,456,789 KB"},
        {0, "0 KB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(formatPhysicalMemory(c.bytes), c.text);
    }
}

TEST(MemoryStatus, LoadIsWholePercent) {
    EXPECT_EQ(formatMemoryLoad(37), "37 %");
    EXPECT_EQ(formatMemoryLoad(100), "100 %");
}

TEST(MemoryStatus, MeminfoGivesTotalAndUsedShare) {
    const struct {
        const char* name;
        const char* text;
        std::optional<MemoryStatus> status;
    } cases[] = {
        {"available memory", "MemTotal:       16000000 kB\nMemFree:         1000000 kB\nMemAvailable:    6000000 kB\n",
         MemoryStatus{16000000ULL * 1024, 63}},
        {"rounds the share", "MemTotal: 3 kB\nMemAvailable: 1 kB\n", MemoryStatus{3 * 1024, 67}},
        {"old kernel without MemAvailable", "MemTotal: 1000 kB\nMemFree: 250 kB\n", MemoryStatus{1000 * 1024, 75}},
        {"similar names are not taken", "MemTotalX: 5 kB\nMemTotal: 200 kB\nMemAvailable: 200 kB\n",
         MemoryStatus{200 * 1024, 0}},
        {"no total", "MemFree: 250 kB\n", std::nullopt},
        {"zero total", "MemTotal: 0 kB\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseMeminfo(c.text), c.status);
    }
}

TEST(MemoryStatus, TheSystemTellsItsMemory) {
    const auto status = readSystemMemory();
    ASSERT_TRUE(status.has_value());
    EXPECT_GT(status->totalBytes, 16ULL * 1024 * 1024);
    EXPECT_GE(status->loadPercent, 0);
    EXPECT_LE(status->loadPercent, 100);
}

} // namespace
} // namespace about
