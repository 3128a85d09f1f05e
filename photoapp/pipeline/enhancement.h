// The five enhancement steps of the photo program: auto balance, midtones,
// de-noising, detail enhancement and colour, each driven by one control of the
// main dialog. Four steps change a copy of the image through the library and
// blend it back with a weight; the colour step works on the pixels directly.
// Platform-neutral, so that the whole pipeline also runs in the host build.
#pragma once

#include <string>

#include "photoapp/document/image_document.h"

// The controls' positions, with the program's defaults.
struct EnhancementSettings {
  int auto_balance = 200;  // 0-200: weight of the levels stretch (x 0.01, 1.0 at most)
  int midtones = 140;      // 0-200: gamma x 100; 100 leaves the image as it is
  int denoise = 60;        // 0-100: weight of the noise reduction (x 0.01)
  int details = 10;        // 0-100: sharpening amount, blended at one half
  int colour = 280;        // 0-400: saturation, 200 leaves the colours as they are
  int subject_type = 1;    // 0 Landscape, 1 Mid Details, 2 Close-up: noise-reduction passes
};

// Where the pipeline reports: the progress bar (0-100) and the status line.
class EnhancementObserver {
 public:
  virtual ~EnhancementObserver() = default;
  virtual void SetProgress(int percent) = 0;
  virtual void SetStatus(const std::string& text) = 0;
};

// The steps in their order, progress 0, 20, ... 100 between them. Without a
// loaded image the steps do nothing and only the progress runs through.
void EnhanceDocument(ImageDocument& document, const EnhancementSettings& settings, bool image_loaded,
                     EnhancementObserver& observer);

// The single steps, each on the document in place; a step whose control
// stands at its neutral position does nothing.
void AutoBalanceStep(ImageDocument& document, int position);
void MidtonesStep(ImageDocument& document, int position, EnhancementObserver& observer);
void DenoiseStep(ImageDocument& document, int position, int subject_type, EnhancementObserver& observer);
void EnhanceDetailsStep(ImageDocument& document, int position, EnhancementObserver& observer);
void EnhanceColors(ImageDocument& document, int position, EnhancementObserver& observer);

// Blends a step's result into the document with the weight (a blend of 1.0 or more copies it).
void BlendStepResult(ImageDocument& document, const ImageDocument& step_copy, double weight);
