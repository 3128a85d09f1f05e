#include "imagelib/jpeg_glue.h"

#include <jerror.h>

namespace imagelib {

namespace {

void JumpToWorker(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegErrorExit*>(info->err);
  error->manager.format_message(info, error->message);
  std::longjmp(error->jump, 1);
}

// A photo program has no console: warnings (a file cut short) go unseen.
void ShowNothing(j_common_ptr) {}

struct JpegStreamSource {
  jpeg_source_mgr manager;
  boolean start_of_file;
  IoStream* stream;
  JOCTET buffer[kJpegStreamBufferBytes];
};

JpegStreamSource& SourceOf(j_decompress_ptr info) { return *reinterpret_cast<JpegStreamSource*>(info->src); }

void InitSource(j_decompress_ptr info) { SourceOf(info).start_of_file = TRUE; }

// An empty file is an error; a file that ends early gets a warning and an end
// marker, so that what was read so far still makes an image.
boolean FillSource(j_decompress_ptr info) {
  JpegStreamSource& source = SourceOf(info);
  size_t count = source.stream->Read(source.buffer, kJpegStreamBufferBytes);
  if (count == 0) {
    if (source.start_of_file) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source.buffer[0] = 0xFF;
    source.buffer[1] = JPEG_EOI;
    count = 2;
  }
  source.manager.next_input_byte = source.buffer;
  source.manager.bytes_in_buffer = count;
  source.start_of_file = FALSE;
  return TRUE;
}

void SkipSource(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  jpeg_source_mgr& manager = SourceOf(info).manager;
  while (count > static_cast<long>(manager.bytes_in_buffer)) {
    count -= static_cast<long>(manager.bytes_in_buffer);
    FillSource(info);
  }
  manager.next_input_byte += count;
  manager.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

struct JpegStreamDestination {
  jpeg_destination_mgr manager;
  IoStream* stream;
  JOCTET* buffer;
};

JpegStreamDestination& DestinationOf(j_compress_ptr info) {
  return *reinterpret_cast<JpegStreamDestination*>(info->dest);
}

void InitDestination(j_compress_ptr info) {
  JpegStreamDestination& destination = DestinationOf(info);
  destination.buffer = static_cast<JOCTET*>(
      (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, kJpegStreamBufferBytes));
  destination.manager.next_output_byte = destination.buffer;
  destination.manager.free_in_buffer = kJpegStreamBufferBytes;
}

void WriteOut(j_compress_ptr info, size_t count) {
  JpegStreamDestination& destination = DestinationOf(info);
  if (!destination.stream->WriteBlock(destination.buffer, static_cast<uint32_t>(count)))
    ERREXIT(info, JERR_FILE_WRITE);
}

boolean EmptyDestination(j_compress_ptr info) {
  WriteOut(info, kJpegStreamBufferBytes);
  DestinationOf(info).manager.next_output_byte = DestinationOf(info).buffer;
  DestinationOf(info).manager.free_in_buffer = kJpegStreamBufferBytes;
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  size_t filled = kJpegStreamBufferBytes - DestinationOf(info).manager.free_in_buffer;
  if (filled > 0) WriteOut(info, filled);
}

}  // namespace

jpeg_error_mgr* UseJpegErrorExit(JpegErrorExit& error) {
  jpeg_error_mgr* manager = jpeg_std_error(&error.manager);
  manager->error_exit = JumpToWorker;
  manager->output_message = ShowNothing;
  return manager;
}

void AttachJpegStreamSource(j_decompress_ptr info, IoStream* stream) {
  if (!info->src) {
    info->src = static_cast<jpeg_source_mgr*>((*info->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegStreamSource)));
  }
  JpegStreamSource& source = SourceOf(info);
  source.stream = stream;
  source.manager.init_source = InitSource;
  source.manager.fill_input_buffer = FillSource;
  source.manager.skip_input_data = SkipSource;
  source.manager.resync_to_restart = jpeg_resync_to_restart;
  source.manager.term_source = TermSource;
  source.manager.bytes_in_buffer = 0;
  source.manager.next_input_byte = nullptr;
}

void AttachJpegStreamDestination(j_compress_ptr info, IoStream* stream) {
  if (!info->dest) {
    info->dest = static_cast<jpeg_destination_mgr*>((*info->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegStreamDestination)));
  }
  JpegStreamDestination& destination = DestinationOf(info);
  destination.stream = stream;
  destination.manager.init_destination = InitDestination;
  destination.manager.empty_output_buffer = EmptyDestination;
  destination.manager.term_destination = TermDestination;
}

}  // namespace imagelib
