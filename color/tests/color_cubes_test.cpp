// The colour cubes: sizes, identity lattices, the five tetrahedra and the
// clamps of the three lookups, and properties that hold for any cube.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "color/color_cubes.h"
#include "color/cube_services.h"

namespace {

int32_t Node(int r, int g, int b) { return (r * kCubeNodes + g) * kCubeNodes + b; }

struct Cube8 {
  MemHandle handle = NewCube8();
  ~Cube8() { DisposeMemHandle(handle); }
  uint8_t* data() { return handle->data; }
};
struct Cube16 {
  MemHandle handle = NewCube16();
  ~Cube16() { DisposeMemHandle(handle); }
  uint16_t* data() { return reinterpret_cast<uint16_t*>(handle->data); }
};

uint8_t Lookup8(MemHandle cube, uint8_t r, uint8_t g, uint8_t b, int channel) {
  uint8_t px[3] = {r, g, b};
  ApplyColorCube8(px, px, cube, 1, 3, 1, 3, 1, 0, 0, nullptr);
  return px[channel];
}

// A smooth, bent function of the node position (0..1 per axis), values 0..1.
double Bent(double r, double g, double b, int c) {
  const double v[3] = {0.1 + 0.6 * r * r + 0.2 * g * b, 0.05 + 0.5 * g + 0.3 * std::sin(2 * r) * b,
                       0.9 - 0.7 * b * g - 0.1 * r};
  return v[c];
}
double Position(int i) { return i == kCubeNodes - 1 ? 1.0 : i * 2048 / 65535.0; }

}  // namespace

TEST(ColorCubes, SizesAndZeroFill) {
  Cube8 c8;
  Cube16 c16;
  ASSERT_TRUE(c8.handle && c16.handle);
  EXPECT_EQ(MemHandleSize(c8.handle), 107811u);
  EXPECT_EQ(MemHandleSize(c16.handle), 215622u);
  EXPECT_EQ(CalibrationCubeTableSize(), 862488u);
  for (uint32_t i = 0; i < 107811; ++i) ASSERT_EQ(c8.data()[i], 0);
}

TEST(ColorCubes, IdentityNodesInNodeOrder) {
  Cube8 c8;
  Cube16 c16;
  std::vector<double> cd(kCubeEntries * 3);
  InitIdentityCube8(c8.data());
  InitIdentityCube(c16.data());
  InitIdentityCubeDoubles(cd.data());
  const int picks[][3] = {{0, 0, 0}, {1, 2, 3}, {31, 0, 32}, {32, 32, 32}, {5, 17, 31}};
  for (const auto& p : picks) {
    const int32_t n = Node(p[0], p[1], p[2]);
    for (int c = 0; c < 3; ++c) {
      const int i = p[c];
      EXPECT_EQ(c8.data()[3 * n + c], i == 32 ? 255 : 8 * i);
      EXPECT_EQ(c16.data()[3 * n + c], i == 32 ? 65535 : 2048 * i);
      EXPECT_DOUBLE_EQ(cd[3 * n + c], (i == 32 ? 65535 : 2048 * i) / 65535.0);
    }
  }
  // The calibration cube stays the identity while no profile is loaded.
  EXPECT_EQ(std::vector<double>(CalibrationCubeTable(), CalibrationCubeTable() + cd.size()), cd);
  Cube16 reset;
  ResetCube(reset.handle);
  EXPECT_EQ(std::vector<uint16_t>(reset.data(), reset.data() + cd.size()),
            std::vector<uint16_t>(c16.data(), c16.data() + cd.size()));
}

// The identity lattice's last cell spans 248..255 in 8 steps, so the top
// samples come out one lower: 248 + trunc(7 x f / 8).
TEST(ColorCubes, IdentityLookupsKeepSamplesBelowTheLastCell) {
  Cube8 c8;
  InitIdentityCube8(c8.data());
  const int top[8][2] = {{248, 248}, {249, 248}, {250, 249}, {251, 250},
                         {252, 251}, {253, 252}, {254, 253}, {255, 254}};
  for (const auto& t : top) EXPECT_EQ(Lookup8(c8.handle, t[0], 17, 200, 0), t[1]) << t[0];
  for (int a = 0; a < 248; ++a) {
    ASSERT_EQ(Lookup8(c8.handle, a, 255 - a, (a * 7) % 248, 0), a);
    ASSERT_EQ(Lookup8(c8.handle, a, 255 - a, (a * 7) % 248, 2), (a * 7) % 248);
  }

  Cube16 c16;
  InitIdentityCube(c16.data());
  const uint16_t in[][3] = {{0, 1, 2}, {63487, 63488, 63489}, {65534, 65535, 30000}};
  const uint16_t expected[][3] = {{0, 1, 2}, {63487, 63488, 63488}, {65533, 65534, 30000}};
  for (int k = 0; k < 3; ++k) {
    uint16_t px[3] = {in[k][0], in[k][1], in[k][2]};
    ApplyColorCube16(px, px, c16.handle, 1, 3, 1, 3, 1);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(px[c], expected[k][c]) << k << "," << c;
  }
}

// A point of each tetrahedron through a cube of unrelated node values,
// against barycentric interpolation over that tetrahedron's own corners.
TEST(ColorCubes, FiveTetrahedraInTheirOrder) {
  Cube8 c8;
  std::srand(7);
  for (uint32_t i = 0; i < kCube8Bytes; ++i) c8.data()[i] = static_cast<uint8_t>(std::rand() % 256);
  struct Case {
    int f[3];             // eighths of a cell
    int corner[4][3];     // the tetrahedron the point must fall in
  };
  const Case cases[] = {
      {{1, 1, 1}, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
      {{1, 7, 7}, {{0, 1, 1}, {1, 1, 1}, {0, 0, 1}, {0, 1, 0}}},
      {{7, 1, 7}, {{1, 0, 1}, {0, 0, 1}, {1, 1, 1}, {1, 0, 0}}},
      {{7, 7, 1}, {{1, 1, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 1}}},
      {{3, 4, 5}, {{1, 1, 1}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
  };
  const int cell[3] = {4, 20, 9};
  for (const Case& k : cases) {
    // Barycentric weights of the point by Cramer's rule.
    double e[3][3], x[3];
    for (int a = 0; a < 3; ++a) {
      x[a] = k.f[a] / 8.0 - k.corner[0][a];
      for (int v = 0; v < 3; ++v) e[a][v] = k.corner[v + 1][a] - k.corner[0][a];
    }
    auto det = [](double m[3][3]) {
      return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
             m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    double lambda[4];
    lambda[0] = 1;
    for (int v = 0; v < 3; ++v) {
      double m[3][3];
      for (int a = 0; a < 3; ++a)
        for (int w = 0; w < 3; ++w) m[a][w] = w == v ? x[a] : e[a][w];
      lambda[v + 1] = det(m) / det(e);
      lambda[0] -= lambda[v + 1];
    }
    for (double l : lambda) ASSERT_GT(l, 0) << "the point lies inside its tetrahedron";
    for (int c = 0; c < 3; ++c) {
      double want = 0;
      for (int v = 0; v < 4; ++v) {
        const int32_t n = Node(cell[0] + k.corner[v][0], cell[1] + k.corner[v][1], cell[2] + k.corner[v][2]);
        want += lambda[v] * c8.data()[3 * n + c];
      }
      const int got = Lookup8(c8.handle, cell[0] * 8 + k.f[0], cell[1] * 8 + k.f[1], cell[2] * 8 + k.f[2], c);
      EXPECT_EQ(got, static_cast<int>(std::floor(want + 1e-9))) << k.f[0] << k.f[1] << k.f[2] << " channel " << c;
    }
  }
}

TEST(ColorCubes, ClampsAndNullCubes) {
  // Doubles: a node beyond 0..1 is clamped in the result; the integer
  // lookups return the corner values exactly.
  Cube8 c8;
  std::vector<double> cd(kCubeEntries * 3, 0.5);
  for (int32_t n = 0; n < kCubeEntries; ++n) c8.data()[3 * n] = 255;
  const int32_t far = Node(1, 1, 1);
  c8.data()[3 * far] = 0;
  c8.data()[3 * far + 1] = 255;
  cd[3 * far] = 2.0;
  cd[3 * far + 1] = -1.0;
  EXPECT_EQ(Lookup8(c8.handle, 8, 8, 8, 0), 0);
  EXPECT_EQ(Lookup8(c8.handle, 0, 0, 0, 0), 255);
  double px[3] = {1.0 / 31.99951171875 + 1e-12, 1.0 / 31.99951171875 + 1e-12, 1.0 / 31.99951171875 + 1e-12};
  ApplyColorCubeToDoubles(px, px, cd.data(), 1, 3, 1, 3, 1);
  EXPECT_EQ(px[0], 1.0);
  EXPECT_EQ(px[1], 0.0);
  EXPECT_DOUBLE_EQ(px[2], 0.5);
  // Inputs outside 0..1 read the border cells only.
  double wild[3] = {7.0, -3.0, NAN};
  ApplyColorCubeToDoubles(wild, wild, cd.data(), 1, 3, 1, 3, 1);
  for (double v : wild) EXPECT_TRUE(v >= 0 && v <= 1);

  uint8_t p8[3] = {1, 2, 3};
  ApplyColorCube8(p8, p8, nullptr, 1, 3, 1, 3, 1, 0, 0, nullptr);
  EXPECT_EQ(p8[2], 3);
  double d[3] = {0.25, 0.5, 0.75};
  ApplyColorCubeToDoubles(d, d, nullptr, 1, 3, 1, 3, 1);
  EXPECT_EQ(d[0], 0.25);
}

TEST(ColorCubes, UnitConversions) {
  const double in[] = {-0.5, 0.0, 0.5, 1.0 / 255, 1.0, 1.5, NAN};
  uint8_t u8[7];
  uint16_t u16[7];
  UnitDoublesToU8(u8, in, 7);
  UnitDoublesToU16(u16, in, 7);
  const uint8_t want8[] = {0, 0, 128, 1, 255, 255, 0};
  const uint16_t want16[] = {0, 0, 32768, 257, 65535, 65535, 0};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(u8[i], want8[i]) << i;
    EXPECT_EQ(u16[i], want16[i]) << i;
  }
  const uint16_t back[] = {0, 65535, 2048};
  double d[3] = {9, 9, 9};
  U16ToUnitDoubles(d, back, 3);
  EXPECT_EQ(d[0], 0.0);
  EXPECT_EQ(d[1], 1.0);
  EXPECT_DOUBLE_EQ(d[2], 2048 / 65535.0);
  U16ToUnitDoubles(d, back, 0);
  UnitDoublesToU8(nullptr, in, 3);
  EXPECT_EQ(d[0], 0.0);
}

// An affine function sampled at the nodes comes back from every tetrahedron
// up to rounding; the three lookups of one smooth cube agree.
TEST(ColorCubes, AffineCubesAndTheThreeLookupsAgree) {
  Cube8 a8;
  for (int r = 0; r < kCubeNodes; ++r)
    for (int g = 0; g < kCubeNodes; ++g)
      for (int b = 0; b < kCubeNodes; ++b) {
        uint8_t* p = a8.data() + 3 * Node(r, g, b);
        p[0] = static_cast<uint8_t>(2 * r + 3 * g + b);
        p[1] = static_cast<uint8_t>(150 - 3 * r + 2 * b);
        p[2] = static_cast<uint8_t>(7 * b);
      }
  for (int k = 0; k < 4000; ++k) {
    const int r = (k * 37) % 256, g = (k * 101) % 256, b = (k * 13 + k / 256) % 256;
    if (r >= 248 || g >= 248 || b >= 248) continue;
    const double x = r / 8.0, y = g / 8.0, z = b / 8.0;
    ASSERT_NEAR(Lookup8(a8.handle, r, g, b, 0), 2 * x + 3 * y + z, 1.0);
    ASSERT_NEAR(Lookup8(a8.handle, r, g, b, 1), 150 - 3 * x + 2 * z, 1.0);
    ASSERT_NEAR(Lookup8(a8.handle, r, g, b, 2), 7 * z, 1.0);
  }

  Cube8 c8;
  Cube16 c16;
  std::vector<double> cd(kCubeEntries * 3);
  for (int r = 0; r < kCubeNodes; ++r)
    for (int g = 0; g < kCubeNodes; ++g)
      for (int b = 0; b < kCubeNodes; ++b)
        for (int c = 0; c < 3; ++c) cd[3 * Node(r, g, b) + c] = Bent(Position(r), Position(g), Position(b), c);
  UnitDoublesToU8(c8.data(), cd.data(), kCubeEntries * 3);
  UnitDoublesToU16(c16.data(), cd.data(), kCubeEntries * 3);
  for (int k = 0; k < 5000; ++k) {
    const uint8_t a[3] = {static_cast<uint8_t>((k * 37) % 256), static_cast<uint8_t>((k * 101) % 256),
                          static_cast<uint8_t>((k * 59 + 3) % 256)};
    uint8_t p8[3] = {a[0], a[1], a[2]};
    uint16_t p16[3] = {static_cast<uint16_t>(a[0] * 257), static_cast<uint16_t>(a[1] * 257),
                       static_cast<uint16_t>(a[2] * 257)};
    double pd[3] = {a[0] / 255.0, a[1] / 255.0, a[2] / 255.0};
    ApplyColorCube8(p8, p8, c8.handle, 1, 3, 1, 3, 1, 0, 0, nullptr);
    ApplyColorCube16(p16, p16, c16.handle, 1, 3, 1, 3, 1);
    ApplyColorCubeToDoubles(pd, pd, cd.data(), 1, 3, 1, 3, 1);
    for (int c = 0; c < 3; ++c) {
      // 16-bit and doubles sit at the same lattice position.
      ASSERT_NEAR(p16[c] / 65535.0, pd[c], 3 / 65535.0) << k;
      // The 8-bit lookup reads its cells as 8 samples wide, a little off the others.
      ASSERT_NEAR(p8[c], pd[c] * 255, 4.0) << k;
    }
  }
}

// Planar rows, separate output and in place, as the band producer and the
// intermediate stage call them.
TEST(ColorCubes, StepsAndChannelOffsets) {
  Cube8 c8;
  InitIdentityCube8(c8.data());
  for (int32_t n = 0; n < kCubeEntries; ++n) c8.data()[3 * n] = static_cast<uint8_t>(255 - c8.data()[3 * n]);
  uint8_t planar[12] = {0, 16, 32, 64, 1, 2, 3, 4, 9, 9, 9, 9};
  uint8_t out[24] = {};
  ApplyColorCube8(planar, out, c8.handle, 4, 1, 4, 2, 8, 0, 0, nullptr);
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(out[2], 255 - 16);
  EXPECT_EQ(out[6], 255 - 64);
  EXPECT_EQ(out[8 + 2], 2);
  EXPECT_EQ(out[16 + 6], 9);
  EXPECT_EQ(out[1], 0) << "between pixels untouched";
}
