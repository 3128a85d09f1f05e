#include "output/tests/writer_test_support.h"

#include <cstdio>
#include <cstring>

#include "output/output_hooks_install.h"
#include "records/defaults_block.h"
#include "state/data_source_state.h"

void WriterTest::SetUp() {
  ScanTest::SetUp();
  // The output layer's part of a scan, as module attach installs it.
  InstallOutputSessionHooks();
  system_->strings[108] = "Fehler bei Scan Start.";
  system_->strings[142] = "\n\nFehler in Datei.";
  system_->strings[143] = "\n\nKann Datei nicht \xf6" "ffnen.";
  system_->strings[152] = "\n\nZu wenig Platz auf dem Laufwerk.";
  system_->strings[216] = "Zu wenig Platz auf dem Laufwerk";
  system_->strings[16025] = "Multi Scan...";
}

void WriterTest::TearDown() {
  gCurrentFrame = nullptr;
  ScanTest::TearDown();
}

bool WriterTest::Write(ImageFileWriter& writer, FrameRecord frame, uint8_t* cancelled) {
  gCurrentFrame = &frame;
  const bool failed = writer.Run(1, 1, cancelled);
  gCurrentFrame = nullptr;
  return failed;
}

std::vector<uint8_t> WriterTest::ReadOutput(const std::string& path) const {
  std::vector<uint8_t> bytes;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

uint16_t WriterTest::SampleAt(const std::vector<uint8_t>& bytes, int32_t columns, int32_t spp, int32_t bits,
                              int32_t x, int32_t y, int32_t c) {
  if (bits == 1) {
    const size_t rowBytes = (static_cast<size_t>(columns) + 7) / 8;
    return (bytes[y * rowBytes + (x >> 3)] >> (7 - (x & 7))) & 1;
  }
  const size_t index = (static_cast<size_t>(y) * columns + x) * spp + c;
  if (bits == 8) return bytes[index];
  uint16_t value;
  std::memcpy(&value, &bytes[2 * index], 2);
  return value;
}
