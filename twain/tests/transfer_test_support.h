// A stand-in for the scan session's band producer: a generated image of any
// session layout, handed out in bands of a chosen height, top-down or
// bottom-up, and the rows a host should receive from it.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "state/data_source_state.h"
#include "twain/capabilities.h"
#include "twain/transfers.h"

// The image: session image mode, planes and depth, size and resolution.
struct GeneratedImage {
  int16_t imageMode;
  int16_t planes;
  int16_t depth;
  int16_t columns;
  int16_t rows;
  int32_t dpi;

  // Sample of a plane at a pixel: a pattern that differs in every plane, row and column.
  uint16_t Sample(int plane, int x, int y) const {
    if (depth == 1) return (x + 2 * y) % 3 == 0;
    if (depth == 16) return static_cast<uint16_t>(x * 1031 + y * 517 + plane * 20011);
    return static_cast<uint8_t>(x * 7 + y * 13 + plane * 61);
  }

  uint32_t PlaneRowBytes() const { return depth == 1 ? (columns + 7) / 8 : columns * (depth / 8); }

  // One row as the band producer leaves it: the planes one after the other.
  std::vector<uint8_t> BandRow(int y) const {
    std::vector<uint8_t> row(planes * PlaneRowBytes());
    for (int p = 0; p < planes; ++p) {
      uint8_t* plane = row.data() + p * PlaneRowBytes();
      for (int x = 0; x < columns; ++x) {
        uint16_t v = Sample(p, x, y);
        if (depth == 1) {
          if (v) plane[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        } else if (depth == 16) {
          std::memcpy(plane + 2 * x, &v, 2);
        } else {
          plane[x] = static_cast<uint8_t>(v);
        }
      }
    }
    return row;
  }

  // The row a host receives in a memory transfer: samples interleaved, inverted on request.
  std::vector<uint8_t> HostRow(int y, bool invert) const {
    std::vector<uint8_t> band = BandRow(y), host(band.size());
    const uint32_t bytesPerSample = depth / 8;
    if (planes == 1) {
      host = band;
    } else {
      for (int x = 0; x < columns; ++x) {
        for (int p = 0; p < planes; ++p) {
          std::memcpy(&host[(x * planes + p) * bytesPerSample], &band[p * PlaneRowBytes() + x * bytesPerSample],
                      bytesPerSample);
        }
      }
    }
    if (invert) {
      for (uint8_t& b : host) b = static_cast<uint8_t>(~b);
    }
    return host;
  }

  // Puts the layout into the session block as the session's image description does.
  void Describe(SessionBlock& session) const {
    session.imageMode = imageMode;
    session.planes = planes;
    session.depth = depth;
    session.columns = columns;
    session.rows = rows;
    session.rowBytes = static_cast<int32_t>(planes * PlaneRowBytes());
    session.planeBytes = static_cast<int32_t>(PlaneRowBytes());
    session.horizontalResolution = dpi << 16;
    session.verticalResolution = dpi << 16;
    session.bandTop = session.bandBottom = 0;
    session.bandLeft = 0;
    session.bandRight = columns;
  }
};

// Hands the image out band by band through the session block.
class StandInBands {
 public:
  static StandInBands& Current() {
    static StandInBands bands;
    return bands;
  }

  void Start(const GeneratedImage& image, int bandRows, bool bottomUp = false) {
    image_ = image;
    bandRows_ = bandRows;
    bottomUp_ = bottomUp;
    produced_ = 0;
    bandsMade_ = 0;
    cancelled_ = false;
    endSessionAtBand_ = -1;
    image.Describe(*gSession);
    gSession->bandData.value = nullptr;
  }

  void CancelFromProgress() { cancelled_ = true; }
  void EndSessionAtBand(int band) { endSessionAtBand_ = band; }
  int bandsMade() const { return bandsMade_; }

  static void Produce() { Current().NextBand(); }
  static bool IsCancelled() { return Current().cancelled_; }

 private:
  void NextBand() {
    SessionBlock& session = *gSession;
    if (bandsMade_ == endSessionAtBand_) gSessionEnded = 1;
    const int count = std::min(bandRows_, image_.rows - produced_);
    if (count <= 0) {
      session.bandData.value = nullptr;
      session.bandTop = session.bandBottom = bottomUp_ ? 0 : image_.rows;
      return;
    }
    const int top = bottomUp_ ? image_.rows - produced_ - count : produced_;
    buffer_.clear();
    for (int y = top; y < top + count; ++y) {
      std::vector<uint8_t> row = image_.BandRow(y);
      buffer_.insert(buffer_.end(), row.begin(), row.end());
    }
    session.bandData.value = buffer_.data();
    session.bandTop = static_cast<int16_t>(top);
    session.bandBottom = static_cast<int16_t>(top + count);
    session.bandLeft = 0;
    session.bandRight = image_.columns;
    produced_ += count;
    ++bandsMade_;
  }

  GeneratedImage image_ = {};
  int bandRows_ = 1;
  bool bottomUp_ = false;
  int produced_ = 0;
  int bandsMade_ = 0;
  bool cancelled_ = false;
  int endSessionAtBand_ = -1;
  std::vector<uint8_t> buffer_;
};

inline const BandSource kStandInBandSource = {StandInBands::Produce, StandInBands::IsCancelled};
