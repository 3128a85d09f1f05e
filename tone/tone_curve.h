// The fixed measuring points of a frame: places the user picked, each with a
// source and a target tone per channel. When a tone table is built it is bent
// so that each point's source tone comes out as the tone the table gives at
// its target.
#pragma once

#include <cstdint>

#include "records/frame_record.h"

// Channels 0 (master) and 1-3; tones and position as fractions 0..1.
struct CurvePoint {
  double x;
  double y;
  double source[4];
  double target[4];
};

static_assert(sizeof(CurvePoint) == 80, "ten doubles");

constexpr int16_t kFrameCurvePoints = 4;   // the capacity of every frame's curve

class ToneCurve {
 public:
  // A capacity below 1 or a failed allocation leaves an empty curve whose
  // operations do nothing and report failure.
  explicit ToneCurve(int16_t capacity);
  virtual ~ToneCurve();
  ToneCurve(const ToneCurve&) = delete;
  ToneCurve& operator=(const ToneCurve&) = delete;

  // Ranks the active points (order[i] = rank of point i, 65535 for an empty
  // slot); false when two points cross in their channel ordering. With a null
  // order a table of its own is used.
  virtual bool OrderCurvePoints(uint16_t* order);
  // Refused for a null or empty point and an index outside the capacity.
  virtual bool SetCurvePoint(const CurvePoint* point, int16_t index);
  // The first empty slot, -1 when none.
  virtual int16_t FindFreeCurvePoint();
  // Any of the eight tone values above 0.
  virtual bool IsCurvePointActive(const CurvePoint* point);
  virtual void ClearCurvePoints();
  virtual void ClearCurvePointRecord(CurvePoint* point);
  virtual void ClearCurvePoint(int16_t index);
  // Moves the active points down to the first slots, keeping their order.
  virtual void CompactCurvePoints();
  // For a bad index, clears out and returns false.
  virtual bool GetCurvePoint(CurvePoint* out, int16_t index);
  // The slot nearest to (x, y) within |dx| < dx and |dy| < dy, the lower index
  // on a tie; -1 when none.
  virtual int16_t FindNearestCurvePoint(double x, double y, double dx, double dy);
  // Takes a point into the first free slot unless it is empty or would cross
  // a point already held.
  virtual bool AddCurvePoint(const CurvePoint* point);
  // Bends one channel's lookup table (n entries of u16 when wide, else u8,
  // values 0..levels-1) over the indexes lo..hi through the points, with the
  // corrected values mapped into outLo..outHi. frame may be null.
  virtual bool BuildPointCorrectionTable(void* table, uint8_t wide, int32_t n, int32_t levels, int32_t lo,
                                         int32_t hi, int32_t outLo, int32_t outHi, FrameRecord* frame,
                                         int16_t channel);

  int16_t capacity() const { return capacity_; }

 private:
  int16_t capacity_;
  CurvePoint* points_;
};

// For a negative, the point tones are moved through the film's curve (and
// the automatic adjustment takes its mid-tones from the film's medians).
bool FilmRemapsPoints(const FrameRecord* frame);

// Clears the curve and adds the frame's points that are in use.
void LoadCurvePointsFromFrame(FrameRecord* frame, ToneCurve* curve);
// Clears the frame's four points, then writes the curve's active points to
// the first slots (tones rounded to 0..255). A null curve only clears.
void StoreCurvePointsToFrame(ToneCurve* curve, FrameRecord* frame);
