#include "biff_records.h"

#include "tests/biff_builder.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace spreadsheet::biff {
namespace {

using spreadsheet::testing::bytes;
using spreadsheet::testing::le16;
using spreadsheet::testing::le32;

// The bytes as hex from the first difference on, for a readable failure.
std::string dumpFrom(const std::string& bytes, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < bytes.size() && i < from + 32; ++i) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x ", static_cast<unsigned char>(bytes[i]));
        out += buffer;
    }
    return out;
}

void expectBytes(const std::string& actual, const std::string& expected) {
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_EQ(at, std::min(actual.size(), expected.size()))
        << "first difference at byte " << at << "\n  actual:   " << dumpFrom(actual, at)
        << "\n  expected: " << dumpFrom(expected, at);
}

TEST(Builders, CellRecords) {
    RecordStream out;
    labelSst(out, 3, 2, 16, 70000);
    rk(out, 1, 0, 15, 0x0000016A);
    RkCell cells[] = {{17, 0x2A}, {18, 0x3E}};
    mulRk(out, 4, 5, cells, 2);
    std::uint16_t xfs[] = {20, 21, 22};
    mulBlank(out, 6, 1, xfs, 3);
    expectBytes(out.data(), le16(0x00FD) + le16(10) + le16(3) + le16(2) + le16(16) + le32(70000) +     // LABELSST
                                le16(0x027E) + le16(10) + le16(1) + le16(0) + le16(15) + le32(0x16A) + // RK
                                le16(0x00BD) + le16(18) + le16(4) + le16(5) +                          // MULRK
                                le16(17) + le32(0x2A) + le16(18) + le32(0x3E) + le16(6) +              // .. colLast 6
                                le16(0x00BE) + le16(12) + le16(6) + le16(1) +                          // MULBLANK
                                le16(20) + le16(21) + le16(22) + le16(3));                             // .. colLast 3
}

TEST(Builders, CellXfWithBordersAndCentring) {
    RecordStream out;
    cellXf(out, XfLook{6, 165, 2, 1, true});
    expectBytes(out.data(), le16(0x00E0) + le16(20) + le16(6) + le16(165) +    // font 6, format 165
                                le16(0x0001) +                                 // locked cell XF, parent style 0
                                bytes({0x12,                                   // alc 2 (centred), alcV 1 (centred)
                                       0, 0,                                   // rotation, indent
                                       0xFC}) +                                // every attribute group is the XF's own
                                le32(0x1111 | (0x40u << 16) | (0x40u << 23)) + // thin lines, automatic colours
                                le32(0x40 | (0x40 << 7)) +                     // top and bottom colours, no fill
                                le16(0x40 | (0x41 << 7)));                     // fill colours
}

TEST(Builders, MergedCellsInChunksOf1026) {
    std::vector<CellRange> ranges(1027, CellRange{1, 2, 0, 0});
    ranges.back() = CellRange{9, 10, 3, 4};
    RecordStream out;
    mergedCells(out, ranges);
    const std::string& data = out.data();
    ASSERT_EQ(data.size(), 4 + 2 + 1026 * 8 + 4 + 2 + 8u);
    EXPECT_EQ(u16At(data, 0), record::kMergedCells);
    EXPECT_EQ(u16At(data, 2), 2 + 1026 * 8);
    EXPECT_EQ(u16At(data, 4), 1026);
    std::size_t second = 4 + 2 + 1026 * 8;
    expectBytes(data.substr(second), le16(0x00E5) + le16(10) + le16(1) + le16(9) + le16(10) + le16(3) + le16(4));
}

// An SST whose first string fills the SST record up to `free` bytes.
std::string sstWithRoomFor(std::size_t free, const std::u16string& second, std::vector<SstBucket>* buckets = nullptr,
                           std::size_t strings = 2) {
    std::size_t filler = kMaxRecordData - 8 - 3 - free;
    std::vector<std::u16string> all{std::u16string(filler, u'f'), second};
    for (std::size_t i = 2; i < strings; ++i) {
        all.push_back(u"s");
    }
    RecordStream out;
    std::vector<SstBucket> result = sst(out, all, 5, 8);
    if (buckets != nullptr) {
        *buckets = result;
    }
    return out.data();
}

constexpr std::size_t kSstRecordEnd = 4 + kMaxRecordData;

TEST(SharedStrings, AnEightBitStringCrossingTheBoundaryRepeatsItsFlagsByte) {
    std::string data = sstWithRoomFor(5, u"abcdefgh");
    EXPECT_EQ(u16At(data, 2), kMaxRecordData);
    // The header and "ab" end the SST record, "cdefgh" goes on after the flags byte 0.
    expectBytes(data.substr(kSstRecordEnd - 5),
                le16(8) + bytes({0}) + "ab" + le16(0x003C) + le16(7) + bytes({0}) + "cdefgh");
}

TEST(SharedStrings, ASixteenBitStringSplitsOnlyBetweenCharacters) {
    // Six bytes free: the header and one character, and one byte stays unused.
    std::string data = sstWithRoomFor(6, u"成绩表");
    EXPECT_EQ(u16At(data, 2), kMaxRecordData - 1);
    std::size_t end = kSstRecordEnd - 1;
    expectBytes(data.substr(end - 5),
                le16(3) + bytes({1}) + le16(u'成') + le16(0x003C) + le16(5) + bytes({1}) + le16(u'绩') + le16(u'表'));
}

TEST(SharedStrings, AHeaderNeverSplitsAndTheBucketPointsIntoTheContinueRecord) {
    // Three bytes free: a header fits but not its first character, so the string starts anew.
    std::vector<SstBucket> buckets;
    std::string data = sstWithRoomFor(3, u"xy", &buckets, 9);
    EXPECT_EQ(u16At(data, 2), kMaxRecordData - 3);
    std::size_t continueAt = kSstRecordEnd - 3;
    expectBytes(data.substr(continueAt, 8), le16(0x003C) + le16(3 + 2 + 7 * 4) + le16(2) + bytes({0}) + "x");
    ASSERT_EQ(buckets.size(), 2u); // strings 0 and 8
    EXPECT_EQ(buckets[0].streamPosition, 4 + 8u);
    EXPECT_EQ(buckets[0].recordOffset, 12);
    // String 8 is the seventh "s" after "xy" in the CONTINUE record.
    EXPECT_EQ(buckets[1].streamPosition, continueAt + 4 + 5 + 6 * 4);
    EXPECT_EQ(buckets[1].recordOffset, 4 + 5 + 6 * 4);
}

TEST(SharedStrings, BucketSize) {
    EXPECT_EQ(sstBucketSize(0), 8);
    EXPECT_EQ(sstBucketSize(1024), 8);
    EXPECT_EQ(sstBucketSize(1025), 9);
    EXPECT_EQ(sstBucketSize(100000), 782);
}

struct RkCase {
    double value;
    bool representable;
    std::uint32_t rk;
};

TEST(Rk, EncodesExactlyOrNotAtAll) {
    const RkCase cases[] = {
        {90, true, (90u << 2) | 2},
        {-1, true, 0xFFFFFFFEu},
        {74.15, true, (7415u << 2) | 3},
        {536870911, true, (536870911u << 2) | 2},
        {536870912, true, 0x41C00000u}, // 2^29: the double's upper bits
        {0.5, true, 0x3FE00000u},
        {-12.34, true, (static_cast<std::uint32_t>(-1234) << 2) | 3},
        {10203001.25, false, 0},
        {0.1, true, (10u << 2) | 3},
        {0.001, false, 0},
        {1e300, false, 0},
        {123456789.123, false, 0},
    };
    for (const RkCase& c : cases) {
        SCOPED_TRACE(c.value);
        std::uint32_t rk = 0;
        ASSERT_EQ(toRk(c.value, rk), c.representable);
        if (c.representable) {
            EXPECT_EQ(rk, c.rk);
            EXPECT_EQ(rkValue(rk), c.value);
        }
    }
}

TEST(Text, Utf8AndUtf16) {
    std::u16string units = utf8ToUtf16("a成\xF0\x9F\x98\x80\xFF");
    EXPECT_EQ(units, (std::u16string{u'a', u'成', 0xD83D, 0xDE00, 0xFFFD}));
    std::string back;
    appendUtf16AsUtf8(back, units.data(), units.size());
    EXPECT_EQ(back, "a成\xF0\x9F\x98\x80\xEF\xBF\xBD");
    char16_t lone[] = {0xDC00, u'b'};
    back.clear();
    appendUtf16AsUtf8(back, lone, 2);
    EXPECT_EQ(back, "\xEF\xBF\xBD"
                    "b");
}

} // namespace
} // namespace spreadsheet::biff
