#include "imagelib/entry_work.h"

#include "imagelib/imagelib.h"

namespace imagelib {

bool EntryWork::Progress(int done, int total) {
  if (context_.depth != 1 || !context_.progress) return true;
  if (context_.progress(done, total, context_.progress_user_data)) return true;
  error = kImageStopped;
  return false;
}

}  // namespace imagelib
