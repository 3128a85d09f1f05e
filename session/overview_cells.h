// The images of the overview folder: one cell per image, numbered from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct OverviewCell {
  char name[260];
  uint32_t timeLow;  // last-write time, as the system's file time
  uint32_t timeHigh;
  uint32_t sizeHigh;
  uint32_t sizeLow;
};
static_assert(sizeof(OverviewCell) == 276, "one 276-byte record per image");
static_assert(offsetof(OverviewCell, timeLow) == 260 && offsetof(OverviewCell, sizeHigh) == 268, "cell layout");

enum OverviewSortKey { kSortByName = 0, kSortBySize = 1, kSortByTime = 2 };

struct OverviewState {
  char folder[256] = {};  // ends with a separator when set
  std::vector<OverviewCell> cells;
};
extern OverviewState gOverview;

// The image patterns of a folder, collected in this order.
extern const char* const kOverviewPatterns[3];

int CountFolderImages(const char* folder);
// Fills the cells with the folder's images: "*.tif" first, then "*.jpg", "*.psd".
void FillOverviewCells(const char* folder, int count);
// By name ignoring case, ascending; by size, largest first; by time, newest first.
void SortOverviewCells(int key, int count);
// The overview folder (or nothing) followed by the cell's file name; false
// when there are no cells or the cell is out of range.
bool GetOverviewImagePath(int cell, char* path, bool withFolder);
// Cell 0 is the folder itself.
void GetOverviewPathOrFolder(int cell, char* path);
