// What the image chooser hands the output subsystem's thumbnail overview
// window, and the geometry of one cell.
#pragma once

#include <cstdint>

#include "state/platform_refs.h"

struct OverviewParams;
typedef bool (*OverviewCellDrawer)(int cell, void* deviceContext, int32_t x, int32_t y, void* value);
typedef bool (*OverviewThumbnailBuilder)(int cell, void* value);
typedef bool (*OverviewAddCallback)(int count, const uint16_t* chosen);
typedef void (*OverviewPathCallback)(int cell, char* path);
typedef void (*OverviewSortCallback)(int key, int count);

// The overview's parameter block (16 words in the product).
struct OverviewParams {
  int32_t imageCount;
  int32_t cellWidth;   // 130
  int32_t cellHeight;  // 130
  OverviewCellDrawer drawCell;
  void* drawValue;
  const char* title;
  uint16_t currentCell;  // to start with
  uint16_t chosenCount;
  const uint16_t* chosenCells;  // or none
  uint16_t cellGap;             // 8
  uint16_t startRows;           // 4
  uint16_t startColumns;        // 6
  OverviewAddCallback addImages;
  OverviewThumbnailBuilder buildThumbnail;
  void* buildValue;
  OverviewPathCallback pathOf;
  OverviewSortCallback sortCells;
  uint8_t flags[2];  // 0 and 1
};

// What the user did in the window: a pick writes the current cell and the
// chosen cells (allocated with AllocBlock, the caller frees them); reopen is
// written in every case.
struct OverviewResult {
  uint16_t currentCell;
  uint16_t chosenCount;
  uint16_t* chosenCells;
  uint8_t reopen;
};

// The overview window of the output subsystem, run modally on the parent;
// true when an image was picked. Until that window exists no image is picked;
// tests install their own answer.
typedef bool (*OverviewWindowFunction)(WindowRef parent, OverviewParams* params, OverviewResult* result);
extern OverviewWindowFunction gOverviewWindow;

// A rectangle of a cell in cell pixels.
struct CellRect {
  int32_t left, top, right, bottom;
};
constexpr int32_t kOverviewCellSize = 130;
constexpr CellRect kCellImageArea = {17, 15, 113, 111};
constexpr CellRect kCellTextArea = {6, 111, 124, 127};
// The thumbnail of the size fitted into the image area, aspect kept, centred.
CellRect FitThumbnailInCell(int32_t width, int32_t height);
