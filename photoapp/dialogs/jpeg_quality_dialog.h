// The quality box of a JPEG save: four qualities and the choice of full
// colour sampling. Its one button saves; closing the box cancels.
#pragma once

#include "photoapp/window/dialog.h"

class JpegQualityDialog : public Dialog {
 public:
  enum Quality { kMaximum = 0, kHigh = 1, kMedium = 2, kLow = 3 };

  explicit JpegQualityDialog(HWND parent = nullptr);

  // The radio group's index; -1 for none.
  int quality = -1;
  // The "Improve Sampling Quality" box: 1 ticked.
  int improve_sampling = 0;

 protected:
  void DoDataExchange(DataExchange& exchange) override;
};

// The writer's quality for a choice of the box: anything unknown is High.
int JpegQualityValue(int choice);
