// Older frame records brought to the current layout.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "frames/frame_record_upgrade.h"
#include "frame_bytes.h"

namespace {

// An old record of the size with a byte pattern, its version word, scan
// percents 150/75, fixed scales that differ from them, a mask name and
// non-zero bytes at 2050-2073.
std::vector<uint8_t> OldRecord(uint32_t version, size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 1);
  PutValueAt<uint32_t>(bytes.data(), 0, version);
  PutValueAt<uint16_t>(bytes.data(), 1492, 150);
  PutValueAt<uint16_t>(bytes.data(), 1494, 75);
  PutValueAt<int32_t>(bytes.data(), 1560, 0x12345);
  PutValueAt<int32_t>(bytes.data(), 1564, 0x6789A);
  if (size >= 1820) std::memcpy(bytes.data() + 1756, "mask", 5);
  return bytes;
}

FrameRecord MarkedRecord() {
  FrameRecord r;
  std::memset(&r, 0xAB, sizeof r);
  return r;
}

struct UpgradeCase {
  uint32_t version;
  uint32_t size;
  bool recomputesScales;
};

class UpgradeFrameRecordVersions : public ::testing::TestWithParam<UpgradeCase> {};

TEST_P(UpgradeFrameRecordVersions, BringsTheRecordToVersion6) {
  const UpgradeCase& c = GetParam();
  const std::vector<uint8_t> old = OldRecord(c.version, c.size);
  FrameRecord r = MarkedRecord();
  uint32_t oldSize = 0;
  ASSERT_TRUE(UpgradeFrameRecord(old.data(), static_cast<uint32_t>(old.size()), &r, &oldSize));
  EXPECT_EQ(oldSize, c.size);
  EXPECT_EQ(r.version, 6u);

  // Everything the old record had is carried, except the fields the upgrade sets.
  for (size_t i = 4; i < c.size; ++i) {
    const bool set = (c.recomputesScales && i >= 1560 && i < 1568) || (i >= 1756 && i < 1820) ||
                     (i >= 2050 && i < 2074) || (c.version == 1 && i == 1505) ||
                     ((c.version == 1 || c.version == 3) && i >= 1556 && i < 1560);
    if (!set) {
      ASSERT_EQ(ValueAt<uint8_t>(&r, i), old[i]) << "byte " << i;
    }
  }
  for (size_t i = c.size; i < sizeof r; ++i) {
    if (c.version != 1 || i < 1608 || i >= 1612) {
      ASSERT_EQ(ValueAt<uint8_t>(&r, i), 0) << "byte " << i;
    }
  }
  for (size_t i = 1756; i < 1820; ++i) ASSERT_EQ(ValueAt<uint8_t>(&r, i), 0) << "mask name, byte " << i;
  for (size_t i = 2050; i < 2074; ++i) ASSERT_EQ(ValueAt<uint8_t>(&r, i), 0) << "byte " << i;

  if (c.recomputesScales) {
    EXPECT_EQ(ValueAt<int32_t>(&r, 1560), 150 * 65536);
    EXPECT_EQ(ValueAt<int32_t>(&r, 1564), 75 * 65536);
  } else {
    EXPECT_EQ(ValueAt<int32_t>(&r, 1560), 0x12345);
    EXPECT_EQ(ValueAt<int32_t>(&r, 1564), 0x6789A);
  }

  if (c.version == 1) {
    EXPECT_EQ(ValueAt<uint32_t>(&r, 1608), 1u);
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1505), 0);
    EXPECT_EQ(ValueAt<uint16_t>(&r, 1556), 0);
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1558), 0);
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1559), 0);
  } else if (c.version == 3) {
    EXPECT_EQ(ValueAt<uint16_t>(&r, 1556), 0);
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1558), old[1557]) << "moved up by one";
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1559), old[1558]) << "moved up by one";
    EXPECT_EQ(ValueAt<uint32_t>(&r, 1608), ValueAt<uint32_t>(old.data(), 1608));
  } else {
    EXPECT_EQ(ValueAt<uint16_t>(&r, 1556), ValueAt<uint16_t>(old.data(), 1556));
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1558), old[1558]);
    EXPECT_EQ(ValueAt<uint8_t>(&r, 1505), old[1505]);
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, UpgradeFrameRecordVersions,
                         ::testing::Values(UpgradeCase{1, 1608, true}, UpgradeCase{3, 2080, true},
                                           UpgradeCase{4, 1752, true}, UpgradeCase{5, 1756, false}));

TEST(UpgradeFrameRecord, CopiesACurrentRecordWithoutConverting) {
  const std::vector<uint8_t> old = OldRecord(6, 2080);
  FrameRecord r = MarkedRecord();
  uint32_t oldSize = 0;
  EXPECT_FALSE(UpgradeFrameRecord(old.data(), 2080, &r, &oldSize));
  EXPECT_EQ(oldSize, 2080u);
  EXPECT_EQ(std::memcmp(&r, old.data(), 2080), 0);
}

struct RefusedCase {
  const char* what;
  uint32_t version;
  uint32_t size;
  uint32_t available;
};

class UpgradeFrameRecordRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(UpgradeFrameRecordRefused, WritesNothingAndReportsSizeZero) {
  const RefusedCase& c = GetParam();
  const std::vector<uint8_t> old = OldRecord(c.version, c.size);
  FrameRecord r = MarkedRecord();
  const FrameRecord before = r;
  uint32_t oldSize = 99;
  EXPECT_FALSE(UpgradeFrameRecord(old.data(), c.available, &r, &oldSize)) << c.what;
  EXPECT_EQ(oldSize, 0u) << c.what;
  EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Records, UpgradeFrameRecordRefused,
                         ::testing::Values(RefusedCase{"version 2", 2, 2080, 2080},
                                           RefusedCase{"unknown version", 7, 2080, 2080},
                                           RefusedCase{"version 0", 0, 2080, 2080},
                                           RefusedCase{"version 5 cut short", 5, 1756, 1755},
                                           RefusedCase{"version 6 cut short", 6, 2080, 1756},
                                           RefusedCase{"no version word", 1, 1608, 3}));

TEST(UpgradeFrameRecord, WalksASetOfMixedVersions) {
  std::vector<uint8_t> set = OldRecord(1, 1608);
  const std::vector<uint8_t> second = OldRecord(5, 1756);
  set.insert(set.end(), second.begin(), second.end());
  FrameRecord r;
  uint32_t size = 0;
  ASSERT_TRUE(UpgradeFrameRecord(set.data(), static_cast<uint32_t>(set.size()), &r, &size));
  ASSERT_EQ(size, 1608u);
  ASSERT_TRUE(UpgradeFrameRecord(set.data() + size, static_cast<uint32_t>(set.size()) - size, &r, &size));
  EXPECT_EQ(size, 1756u);
  EXPECT_EQ(FrameRecordSizeOfVersion(2), 0u);
}

TEST(ConvertOldFrameRecord, MapsThe5208ByteLayout) {
  OldFrameRecord old;
  for (size_t i = 0; i < sizeof old.bytes; ++i) old.bytes[i] = static_cast<uint8_t>(i * 13 + 5);
  PutValueAt<uint16_t>(old.bytes, 868, 321);
  PutValueAt<uint16_t>(old.bytes, 870, 654);
  PutValueAt<uint16_t>(old.bytes, 4468, 120);
  PutValueAt<uint16_t>(old.bytes, 4470, 80);
  DefaultsBlock defaults;
  std::memset(&defaults, 0, sizeof defaults);
  PutValueAt<uint32_t>(&defaults, 2464, 1);
  for (int i = 0; i < 144; ++i) defaults.bytes[2468 + i] = static_cast<uint8_t>(200 - i);

  FrameRecord r = MarkedRecord();
  ConvertOldFrameRecord(&old, &r, defaults);

  EXPECT_EQ(r.version, 6u);
  for (size_t i = 4; i < 952; ++i) ASSERT_EQ(ValueAt<uint8_t>(&r, i), old.bytes[i]) << "byte " << i;
  const size_t oldBlocks[4] = {952, 1816, 2680, 3544};
  for (int k = 0; k < 4; ++k) {
    const size_t block = 952 + 120 * k;
    EXPECT_EQ(ValueAt<uint32_t>(&r, block), 1u);
    for (size_t i = 4; i < 59; ++i) ASSERT_EQ(ValueAt<uint8_t>(&r, block + i), old.bytes[oldBlocks[k] + i]);
    EXPECT_EQ(ValueAt<uint8_t>(&r, block + 59), 0);
    EXPECT_EQ(ValueAt<uint32_t>(&r, block + 60), ValueAt<uint32_t>(old.bytes, oldBlocks[k] + 60));
    for (size_t i = 64; i < 120; ++i) ASSERT_EQ(ValueAt<uint8_t>(&r, block + i), 0);
  }
  struct Moved {
    size_t from, to, count;
  };
  const Moved moved[] = {{4408, 1432, 9}, {4417, 1441, 1}, {4419, 1442, 4}, {4424, 1448, 32},
                         {4456, 1480, 2}, {4458, 1482, 2}, {4460, 1484, 4}, {4464, 1488, 8}};
  for (const Moved& m : moved) {
    for (size_t i = 0; i < m.count; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, m.to + i), old.bytes[m.from + i]) << m.to + i;
  }
  EXPECT_EQ(ValueAt<int32_t>(&r, 1560), 120 * 65536);
  EXPECT_EQ(ValueAt<int32_t>(&r, 1564), 80 * 65536);
  EXPECT_EQ(ValueAt<uint32_t>(&r, 1496), 321u);
  EXPECT_EQ(ValueAt<uint32_t>(&r, 1500), 654u);
  EXPECT_EQ(ValueAt<uint32_t>(&r, 1608), 1u);
  for (int i = 0; i < 144; ++i) EXPECT_EQ(ValueAt<uint8_t>(&r, 1612 + i), 200 - i);
  for (size_t i : {1446, 1504, 1508, 1556, 1568, 1576, 1756, 1952, 2016, 2079}) {
    EXPECT_EQ(ValueAt<uint8_t>(&r, i), 0) << "byte " << i << " of the zero-filled record";
  }
}

}  // namespace
