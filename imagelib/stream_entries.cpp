// Opening, positioning and closing file streams.
#include "imagelib/entry_work.h"
#include "imagelib/imagelib.h"
#include "imagelib/io_stream.h"
#include "imagelib/platform.h"
#include "imagelib/result_block.h"

using namespace imagelib;

namespace {

ImageStream OpenFileStream(const char* path, bool for_writing) {
  LibraryContext* context = GetContext();
  if (!context) return nullptr;
  ImageStream handle = AllocateBlock(sizeof(IoState));
  if (!handle) return RefusePointer(*context, kImageNoMemory);
  IoStream stream(handle);
  if (!(for_writing ? stream.OpenForWrite(path) : stream.OpenForRead(path))) {
    GlobalBlockFree(handle);
    return RefusePointer(*context, kImageCannotOpen);
  }
  context->last_error = kImageOk;
  return handle;
}

// Answers the read position (source) or the size (sink) at closing. A handle
// that is no stream is left alone rather than closed and freed.
long CloseFileStream(ImageStream handle, bool sink) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!handle) return Refuse(*context, kImageBadArgument);
  IoStream stream(handle);
  if (!stream.IsValid()) return Refuse(*context, kImageInvalidStream);
  long result = sink ? stream.Size() : stream.Tell();
  bool closed = stream.Close();
  GlobalBlockFree(handle);
  context->last_error = closed ? kImageOk : (sink ? kImageWriteFailed : kImageReadFailed);
  return result;
}

}  // namespace

extern "C" ImageStream OpenFileSource(const char* path) { return OpenFileStream(path, false); }

extern "C" ImageStream OpenFileSink(const char* path) { return OpenFileStream(path, true); }

extern "C" int SeekStream(ImageStream handle, long offset, int origin) {
  LibraryContext* context = GetContext();
  if (!context) return 0;
  if (!handle) return Refuse(*context, kImageBadArgument);
  IoStream stream(handle);
  if (!stream.IsValid()) return Refuse(*context, kImageInvalidStream);
  if (!stream.Seek(offset, origin)) return Refuse(*context, kImageReadFailed);
  context->last_error = kImageOk;
  return 1;
}

extern "C" long CloseFileSource(ImageStream handle) { return CloseFileStream(handle, false); }

extern "C" long CloseFileSink(ImageStream handle) { return CloseFileStream(handle, true); }
