#include "photoapp/pipeline/enhancement.h"

#include <cstddef>
#include <cstdint>

namespace {

// Levels clip 2 % at each end (low 5, high 250), the channels stretched together.
constexpr int kClipPercent = 2;
constexpr double kPositionScale = 0.01;
constexpr double kDetailsWeight = 0.5;
constexpr int kNeutralColour = 200;
// Luminance weights that sum to 256.
constexpr int kRedWeight = 77;
constexpr int kGreenWeight = 151;
constexpr int kBlueWeight = 28;

// A step's copy of the document; empty when the copy cannot be had, and then
// the blend leaves the document as it is.
void RunOnCopy(ImageDocument& document, double weight, void (*change)(ImageDocument&, int), int value) {
  ImageDocument copy;
  copy.CopyFrom(document);
  change(copy, value);
  BlendStepResult(document, copy, weight);
}

uint8_t Saturated(int c, int luminance, int s) {
  // Signed division truncates toward zero, as the formula wants.
  const int value = ((s + 256) * c - s * luminance + 127) / 256;
  if (value > 255) return 255;
  if (value < 0) return 0;
  return static_cast<uint8_t>(value);
}

}  // namespace

void BlendStepResult(ImageDocument& document, const ImageDocument& step_copy, double weight) {
  document.BlendFrom(step_copy, 0, 0, weight);
}

void AutoBalanceStep(ImageDocument& document, int position) {
  RunOnCopy(document, position * kPositionScale,
            [](ImageDocument& copy, int) { copy.AutoLevels(kClipPercent, kClipPercent, 1); }, 0);
}

void MidtonesStep(ImageDocument& document, int position, EnhancementObserver& observer) {
  const double gamma = position * kPositionScale;
  if (gamma == 1.0) return;
  observer.SetStatus("Adjusting Midtones...");
  ImageDocument copy;
  copy.CopyFrom(document);
  copy.AdjustMidtones(gamma);
  BlendStepResult(document, copy, 1.0);
}

void DenoiseStep(ImageDocument& document, int position, int subject_type, EnhancementObserver& observer) {
  if (position == 0) return;
  observer.SetStatus("De-Noising...");
  RunOnCopy(document, position * kPositionScale, [](ImageDocument& copy, int passes) { copy.Denoise(passes); },
            subject_type);
}

void EnhanceDetailsStep(ImageDocument& document, int position, EnhancementObserver& observer) {
  if (position == 0) return;
  observer.SetStatus("Enhancing edges...");
  RunOnCopy(document, kDetailsWeight, [](ImageDocument& copy, int amount) { copy.SharpenDocument(amount); },
            position);
}

// Row by row over the pixels: every pixel on its own, so the order does not matter.
void EnhanceColors(ImageDocument& document, int position, EnhancementObserver& observer) {
  const int s = position - kNeutralColour;
  if (s == 0) return;
  observer.SetStatus("Enhancing Colors...");
  if (s < -256 || s > 256 || !document.HasPixels()) return;
  auto* pixel = static_cast<uint8_t*>(document.GetPixels());
  const size_t count = static_cast<size_t>(document.GetWidth()) * document.GetHeight();
  for (size_t i = 0; i < count; ++i, pixel += 3) {
    const int luminance = (kRedWeight * pixel[0] + kGreenWeight * pixel[1] + kBlueWeight * pixel[2]) >> 8;
    for (int channel = 0; channel < 3; ++channel) pixel[channel] = Saturated(pixel[channel], luminance, s);
  }
}

void EnhanceDocument(ImageDocument& document, const EnhancementSettings& settings, bool image_loaded,
                     EnhancementObserver& observer) {
  observer.SetProgress(0);
  if (image_loaded) AutoBalanceStep(document, settings.auto_balance);
  observer.SetProgress(20);
  if (image_loaded) MidtonesStep(document, settings.midtones, observer);
  observer.SetProgress(40);
  if (image_loaded) DenoiseStep(document, settings.denoise, settings.subject_type, observer);
  observer.SetProgress(60);
  if (image_loaded) EnhanceDetailsStep(document, settings.details, observer);
  observer.SetProgress(80);
  if (image_loaded) EnhanceColors(document, settings.colour, observer);
  observer.SetProgress(100);
}
