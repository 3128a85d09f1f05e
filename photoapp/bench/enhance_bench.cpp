// The photo program's work on one photo at full size, as "Original" and a
// JPEG save do it: load, the five steps at their default positions (Mid
// Details), save at quality 85. Prints the time of each phase; not a test.
//   photoapp_enhance_bench in.jpg out.jpg
#include <chrono>
#include <cstdio>

#include "photoapp/document/image_types.h"
#include "photoapp/pipeline/enhancement.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

class Quiet : public EnhancementObserver {
 public:
  void SetProgress(int) override {}
  void SetStatus(const std::string&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: photoapp_enhance_bench in.jpg out.jpg\n");
    return 2;
  }
  const Clock::time_point start = Clock::now();
  // The loaded image, the working source and the working document, as the dialog holds them.
  ImageDocument loaded, source, working;
  if (loaded.LoadFile(argv[1]) != kImageOk || !loaded.HasPixels()) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  const double load = SecondsSince(start);
  Clock::time_point phase = Clock::now();
  source.CopyFrom(loaded);
  working.CopyFrom(source);
  Quiet quiet;
  EnhanceDocument(working, EnhancementSettings(), true, quiet);
  const double enhance = SecondsSince(phase);
  phase = Clock::now();
  if (working.SaveFile(argv[2], kImageTypeJpeg, 85, true) != kImageOk) {
    std::fprintf(stderr, "cannot save %s\n", argv[2]);
    return 1;
  }
  const double save = SecondsSince(phase);
  std::printf("%d x %d: load %.2f s, enhance %.2f s, save %.2f s, total %.2f s\n", loaded.GetWidth(),
              loaded.GetHeight(), load, enhance, save, SecondsSince(start));
  return 0;
}
