// The CMYK conversion tables: the table file in its three forms, the ICC
// sampling through a scripted module, and the kernels over tables with
// known nodes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "color/cmyk_tables.h"
#include "color/color_management.h"
#include "color/profile_files.h"
#include "color/tests/color_test_support.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

namespace {

void SetCmykName(const char* name) {
  std::memset(DefaultsBytes(gDefaults, kDefaultCmykSourceName), 0, kDefaultCmykSourceName.size);
  std::memcpy(DefaultsBytes(gDefaults, kDefaultCmykSourceName), name, std::strlen(name));
}

// Forward nodes: inks cyan 7i, magenta 7j, yellow 7k, black 2(i + j + k), stored complemented.
std::vector<uint8_t> AffineForward() {
  std::vector<uint8_t> table(kCmykForwardBytes);
  for (uint32_t i = 0; i < 33; ++i)
    for (uint32_t j = 0; j < 33; ++j)
      for (uint32_t k = 0; k < 33; ++k) {
        uint8_t* node = &table[((i * 33 + j) * 33 + k) * 4];
        node[0] = static_cast<uint8_t>(255 - 7 * i);
        node[1] = static_cast<uint8_t>(255 - 7 * j);
        node[2] = static_cast<uint8_t>(255 - 7 * k);
        node[3] = static_cast<uint8_t>(255 - 2 * (i + j + k));
      }
  return table;
}

// Reverse nodes: L 7i, a 7j, b 7k; black ramp entry v: (v, 255 - v, v / 2).
std::vector<uint8_t> AffineReverse() {
  std::vector<uint8_t> table(kCmykReverseBytes);
  for (uint32_t n = 0; n < kCmykGridSize; ++n) {
    table[n * 3] = static_cast<uint8_t>(7 * (n / 1089));
    table[n * 3 + 1] = static_cast<uint8_t>(7 * (n / 33 % 33));
    table[n * 3 + 2] = static_cast<uint8_t>(7 * (n % 33));
  }
  for (uint32_t v = 0; v < 256; ++v) {
    uint8_t* entry = &table[kCmykReverseGridBytes + v * 3];
    entry[0] = static_cast<uint8_t>(v);
    entry[1] = static_cast<uint8_t>(255 - v);
    entry[2] = static_cast<uint8_t>(v / 2);
  }
  return table;
}

MemHandle HandleOf(const std::vector<uint8_t>& bytes) {
  MemHandle handle = NewMemHandle(static_cast<uint32_t>(bytes.size()));
  std::memcpy(handle->data, bytes.data(), bytes.size());
  return handle;
}

std::vector<uint8_t> BytesOf(MemHandle handle) {
  return handle ? std::vector<uint8_t>(handle->data, handle->data + handle->size) : std::vector<uint8_t>();
}

class CmykKernels : public ::testing::Test {
 protected:
  void TearDown() override { FreeCmykConversionTables(); }

  std::vector<uint8_t> Separate8(uint16_t l, uint16_t a, uint16_t b) {
    const uint16_t lab[3] = {l, a, b};
    std::vector<uint8_t> out(4, 0xEE);
    SeparateLine16To8(lab, out.data(), 1, 3, 1, 4, 1);
    return out;
  }
};

TEST_F(CmykKernels, AffineForwardTableGivesItsInks) {
  gCmykConversionTables.forward = HandleOf(AffineForward());
  struct Case {
    uint16_t l, a, b;
    std::vector<uint8_t> inks;
  } cases[] = {
      {0, 0, 0, {0, 0, 0, 0}},
      {5 * 2048, 10 * 2048, 20 * 2048, {35, 70, 140, 70}},
      // Half way between nodes 5 and 6 on L: 38.5 rounds up.
      {5 * 2048 + 1024, 0, 0, {39, 0, 0, 11}},
      // Node 31 with fractions 2047 x 32: the last cell, never past node 32.
      {65535, 65535, 65535, {224, 224, 224, 192}},
  };
  for (const Case& c : cases) EXPECT_EQ(Separate8(c.l, c.a, c.b), c.inks) << c.l << " " << c.a << " " << c.b;
}

// Node (1,1,1) alone holds 255 in channel 0: each tetrahedron weighs it differently.
TEST_F(CmykKernels, FiveTetrahedraInTheirOrder) {
  std::vector<uint8_t> table(kCmykForwardBytes, 0);
  table[((1 * 33 + 1) * 33 + 1) * 4] = 255;
  gCmykConversionTables.forward = HandleOf(table);
  struct Case {
    const char* name;
    uint16_t fx, fy, fz;  // fractions in 1/2048 of a cell
    uint8_t ink;          // 255 - the interpolated byte
  } cases[] = {
      {"corner (0,0,0)", 512, 512, 512, 255},
      {"on fx + fy + fz = 1: the first", 1024, 512, 512, 255},
      {"corner (0,1,1)", 512, 1536, 1536, 191},
      {"corner (1,0,1)", 1536, 512, 1536, 191},
      {"corner (1,1,0)", 1536, 1536, 512, 191},
      {"central", 1024, 1024, 1024, 191},
      {"at node (1,1,1)", 2048, 2048, 2048, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Separate8(c.fx, c.fy, c.fz)[0], c.ink) << c.name;
}

TEST_F(CmykKernels, FloatAndIntegerKernelsAgreeWithinOneLevel) {
  std::mt19937 random(11);
  std::vector<uint8_t> table(kCmykForwardBytes);
  for (uint8_t& b : table) b = static_cast<uint8_t>(random());
  gCmykConversionTables.forward = HandleOf(table);
  const int32_t n = 5000;
  std::vector<uint16_t> lab(3 * n), out16(4 * n, 1);
  std::vector<uint8_t> out8(4 * n, 1);
  for (uint16_t& v : lab) v = static_cast<uint16_t>(random());
  lab[0] = lab[1] = lab[2] = 65535;
  // Planar in, planar out for one; interleaved for the other.
  SeparateLine16(lab.data(), out16.data(), n, 1, n, 1, n);
  std::vector<uint16_t> interleaved(3 * n);
  for (int32_t i = 0; i < n; ++i)
    for (int32_t c = 0; c < 3; ++c) interleaved[3 * i + c] = lab[c * n + i];
  SeparateLine16To8(interleaved.data(), out8.data(), n, 3, 1, 4, 1);
  for (int32_t i = 0; i < n; ++i)
    for (int32_t c = 0; c < 4; ++c)
      ASSERT_NEAR(out16[c * n + i] / 257.0, out8[4 * i + c], 1.0) << "pixel " << i << " channel " << c;
}

TEST_F(CmykKernels, ProofGivesLabOfTheInksAndTheBlackRamp) {
  gCmykConversionTables.reverse = HandleOf(AffineReverse());
  // Interleaved CMYK in, interleaved Lab out (inStep 4, planes 1; outStep 3, planes 1).
  const uint8_t cmyk[] = {255, 0, 128, 0, 0, 255, 7, 255, 100, 200, 37, 13};
  uint16_t lab[9] = {};
  uint8_t black[9] = {};
  ProofCmykLine(cmyk, lab, black, 3, 4, 1, 3, 1);
  for (int p = 0; p < 3; ++p) {
    for (int c = 0; c < 3; ++c) EXPECT_EQ(lab[3 * p + c], 224 * (255 - cmyk[4 * p + c])) << p << " " << c;
    const int entry = 255 - cmyk[4 * p + 3];
    EXPECT_EQ(black[3 * p], entry);
    EXPECT_EQ(black[3 * p + 1], 255 - entry);
    EXPECT_EQ(black[3 * p + 2], entry / 2);
  }
}

TEST_F(CmykKernels, GamutBitsOfTheNearestNode) {
  uint16_t lab[3] = {20000, 30000, 40000};
  EXPECT_TRUE(IsInGamut(lab));  // no table: printable
  std::vector<uint8_t> gamut(kCmykGamutBytes, 0);
  gamut[0] = 0x80;                                   // node (0,0,0)
  gamut[(1089) >> 3] |= 0x80 >> (1089 & 7);          // node (1,0,0)
  gamut[kCmykGamutBytes - 1] = 0x80;                 // node (32,32,32)
  gCmykConversionTables.gamut = HandleOf(gamut);
  struct Case {
    uint16_t l, a, b;
    bool printable;
  } cases[] = {
      {0, 0, 0, true},       {1024, 1024, 1024, true}, {1025, 0, 0, true},
      {1025, 0, 1025, false}, {3072, 0, 0, true},       {3073, 0, 0, false},
      {65535, 65535, 65535, true},
      {64511, 65535, 65535, false},
  };
  for (const Case& c : cases) {
    const uint16_t value[3] = {c.l, c.a, c.b};
    EXPECT_EQ(IsInGamut(value), c.printable) << c.l << " " << c.a << " " << c.b;
  }
}

TEST_F(CmykKernels, NothingHappensWithoutTables) {
  const uint16_t lab[3] = {1, 2, 3};
  uint16_t out16[4] = {9, 9, 9, 9};
  uint8_t out8[4] = {9, 9, 9, 9}, black[3] = {9, 9, 9};
  SeparateLine16(lab, out16, 1, 3, 1, 4, 1);
  SeparateLine16To8(lab, out8, 1, 3, 1, 4, 1);
  ProofCmykLine(out8, out16, black, 1, 4, 1, 3, 1);
  EXPECT_EQ(out16[0] + out16[3] + out8[0] + out8[3] + black[0], 45);
}

// --- loading ---------------------------------------------------------------

class CmykLoad : public ColorFolderTest {
 protected:
  void TearDown() override {
    FreeCmykConversionTables();
    FreeProfileLists();
    ColorFolderTest::TearDown();
  }
  bool LoadFile(const char* name, const std::vector<uint8_t>& bytes) {
    WriteBytes(separationFolder_ + name, bytes);
    FreeProfileLists();
    SetCmykName(name);
    return LoadCmykConversionTables();
  }
};

std::vector<uint8_t> TableFile(uint16_t version, uint8_t marker, int gamutFlag, size_t cut = 0) {
  std::vector<uint8_t> bytes = {static_cast<uint8_t>(version >> 8), static_cast<uint8_t>(version), marker, 0};
  const std::vector<uint8_t> forward = AffineForward(), reverse = AffineReverse();
  bytes.insert(bytes.end(), forward.begin(), forward.end());
  bytes.insert(bytes.end(), reverse.begin(), reverse.end());
  if (gamutFlag >= 0) {
    bytes.push_back(static_cast<uint8_t>(gamutFlag));
    bytes.push_back(0);
    if (gamutFlag) bytes.insert(bytes.end(), kCmykGamutBytes, 0x5A);
  }
  bytes.resize(bytes.size() - cut);
  return bytes;
}

TEST_F(CmykLoad, TableFileForms) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool loaded, forward, reverse, gamut;
  } cases[] = {
      {"forward.ast", AffineForward(), true, true, false, false},
      {"reverse.ast", AffineReverse(), true, false, true, false},
      {"both.ast", TableFile(300, 1, 0), true, true, true, false},
      {"gamut.ast", TableFile(300, 9, 1), true, true, true, true},
      {"gamut short.ast", TableFile(300, 1, 1, 1), false, true, true, false},
      {"no flag.ast", TableFile(300, 1, -1), false, true, true, false},
      {"short reverse.ast", TableFile(300, 1, -1, 1), false, true, false, false},
      {"version.ast", TableFile(301, 1, 0), false, false, false, false},
      {"marker.ast", TableFile(300, 0, 0), false, false, false, false},
      {"empty.ast", {}, false, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadFile(c.name, c.bytes), c.loaded) << c.name;
    EXPECT_EQ(gCmykConversionTables.forward != nullptr, c.forward) << c.name;
    EXPECT_EQ(gCmykConversionTables.reverse != nullptr, c.reverse) << c.name;
    EXPECT_EQ(gCmykConversionTables.gamut != nullptr, c.gamut) << c.name;
    if (c.forward) { EXPECT_EQ(BytesOf(gCmykConversionTables.forward), AffineForward()) << c.name; }
    if (c.reverse) { EXPECT_EQ(BytesOf(gCmykConversionTables.reverse), AffineReverse()) << c.name; }
  }
}

TEST_F(CmykLoad, ForwardOnlyFileSeparatesButDoesNotProof) {
  ASSERT_TRUE(LoadFile("forward.ast", AffineForward()));
  const uint16_t lab[3] = {5 * 2048, 10 * 2048, 20 * 2048};
  uint8_t inks[4] = {};
  SeparateLine16To8(lab, inks, 1, 3, 1, 4, 1);
  EXPECT_EQ(inks[2], 140);
  uint16_t proofed[3] = {1, 2, 3};
  uint8_t black[3] = {4, 5, 6};
  ProofCmykLine(inks, proofed, black, 1, 4, 1, 3, 1);
  EXPECT_EQ(proofed[0] + proofed[2] + black[0] + black[2], 1 + 3 + 4 + 6);
  EXPECT_TRUE(IsInGamut(lab));
}

TEST_F(CmykLoad, EmptyOrUnknownNameLoadsNothing) {
  ASSERT_TRUE(LoadFile("both.ast", TableFile(300, 1, 0)));
  SetCmykName("");
  EXPECT_FALSE(LoadCmykConversionTables());
  EXPECT_FALSE(gCmykConversionTables.forward || gCmykConversionTables.reverse || gCmykConversionTables.gamut);
  SetCmykName("missing.ast");
  EXPECT_FALSE(LoadCmykConversionTables());
}

// --- ICC sampling through the scripted module ---------------------------------

class CmykSampling : public CmykLoad {
 protected:
  void SetUp() override {
    CmykLoad::SetUp();
    WriteBytes(separationFolder_ + "printer.icc", SmallProfile("prtr", "CMYK", "Drucker"));
    FreeProfileLists();
    SetCmykName("printer.icc");
  }
};

TEST_F(CmykSampling, GridFormatsAndResults) {
  // The module answers 10-bit L*a*b* with KYMC bytes (L >> 2, a >> 2, b >> 2, 9) and KYMC with 10-bit values of the bytes.
  module_.translate = [](const ScriptedColorModule::TranslateCall& call, const void* in, void* out) {
    const size_t pixels = static_cast<size_t>(call.width) * call.height;
    if (call.inputFormat == kBitmap10Lab) {
      const auto* lab = static_cast<const uint32_t*>(in);
      auto* quads = static_cast<uint8_t*>(out);
      for (size_t p = 0; p < pixels; ++p) {
        const uint8_t q[4] = {static_cast<uint8_t>(lab[p] >> 22), static_cast<uint8_t>(lab[p] >> 12),
                              static_cast<uint8_t>(lab[p] >> 2), 9};
        std::memcpy(quads + 4 * p, q, 4);
      }
    } else {
      const auto* quads = static_cast<const uint8_t*>(in);
      auto* lab = static_cast<uint32_t*>(out);
      for (size_t p = 0; p < pixels; ++p) {
        const uint8_t* q = quads + 4 * p;
        lab[p] = static_cast<uint32_t>(q[0] + q[3]) << 22 | static_cast<uint32_t>(q[1]) << 12 | q[2] << 2;
      }
    }
  };
  ASSERT_TRUE(LoadCmykConversionTables());

  // Grid: forward 1089 x 33 in format 1027 into 773, the gamut check on it, the reverse grid, the black ramp.
  const auto& t = module_.translations;
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(std::vector<uint32_t>({t[0].inputFormat, t[0].width, t[0].height, t[0].inputStride, t[0].outputFormat,
                                   t[0].outputStride}),
            std::vector<uint32_t>({1027, 1089, 33, 4356, 773, 4356}));
  EXPECT_EQ(std::vector<uint32_t>({t[1].inputFormat, t[1].width, t[1].height, t[1].inputStride}),
            std::vector<uint32_t>({1027, 1089, 33, 4356}));
  EXPECT_EQ(std::vector<uint32_t>({t[2].inputFormat, t[2].width, t[2].height, t[2].outputFormat}),
            std::vector<uint32_t>({773, 1089, 33, 1027}));
  EXPECT_EQ(std::vector<uint32_t>({t[3].inputFormat, t[3].width, t[3].height, t[3].inputStride, t[3].outputFormat}),
            std::vector<uint32_t>({773, 256, 1, 1024, 1027}));
  ASSERT_EQ(module_.transforms.size(), 2u);

  // Node (i, j, k) = g_i << 20 | g_j << 10 | g_k, g_n = floor(n x 1023 / 32 + 0.5); stored complemented.
  const std::vector<uint8_t> forward = BytesOf(gCmykConversionTables.forward);
  auto g = [](uint32_t n) { return (n * 1023 + 16) / 32; };
  for (uint32_t node : {0u, 1u, 33u, 1089u, 20000u, kCmykGridSize - 1}) {
    const uint32_t v = g(node / 1089) << 20 | g(node / 33 % 33) << 10 | g(node % 33);
    const uint8_t want[4] = {static_cast<uint8_t>(255 - (v >> 22 & 255)), static_cast<uint8_t>(255 - (v >> 12 & 255)),
                             static_cast<uint8_t>(255 - (v >> 2 & 255)), 255 - 9};
    EXPECT_EQ(0, std::memcmp(&forward[node * 4], want, 4)) << "node " << node;
  }
  // Reverse node (i, j, k) from the inks 255 - c_n (black 0); ramp entry v from black 255 - v.
  const std::vector<uint8_t> reverse = BytesOf(gCmykConversionTables.reverse);
  auto c = [](uint32_t n) { return (n * 255 + 16) / 32; };
  for (uint32_t node : {0u, 1u, 33u, 1089u, 20000u, kCmykGridSize - 1}) {
    const uint8_t want[3] = {static_cast<uint8_t>(255 - c(node / 1089)), static_cast<uint8_t>(255 - c(node / 33 % 33)),
                             static_cast<uint8_t>(255 - c(node % 33))};
    EXPECT_EQ(0, std::memcmp(&reverse[node * 3], want, 3)) << "node " << node;
  }
  for (uint32_t v : {0u, 1u, 128u, 255u}) {
    EXPECT_EQ(reverse[kCmykReverseGridBytes + v * 3], static_cast<uint8_t>(255 - v)) << v;
    EXPECT_EQ(reverse[kCmykReverseGridBytes + v * 3 + 1], 0) << v;
  }
  // The scripted check marks every node printable: no gamut table.
  EXPECT_EQ(gCmykConversionTables.gamut, nullptr);
}

TEST_F(CmykSampling, FailuresAreFailures) {
  struct Case {
    const char* failing;
    bool forward, reverse;
  } cases[] = {
      // A failed forward translation would leave a table of full ink.
      {"TranslateBitmapBits", false, false},
      {"CreateMultiProfileTransform", false, false},
      {"CheckBitmapBits", true, true},
  };
  for (const Case& f : cases) {
    module_.failing = {f.failing};
    EXPECT_EQ(LoadCmykConversionTables(), f.forward && f.reverse) << f.failing;
    EXPECT_EQ(gCmykConversionTables.forward != nullptr, f.forward) << f.failing;
    EXPECT_EQ(gCmykConversionTables.gamut, nullptr) << f.failing;
  }
  module_.failing.clear();
  gIcmEnabled = 0;
  const size_t transforms = module_.transforms.size();
  EXPECT_FALSE(LoadCmykConversionTables());
  EXPECT_EQ(module_.transforms.size(), transforms);
}

}  // namespace
