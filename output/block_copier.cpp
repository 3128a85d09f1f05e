// The second pass of the writers: the first-pass file copied into the output
// in blocks of at most copyBlockLimit_ bytes, reoriented as the frame asks.
#include <algorithm>

#include "foundation/memory.h"
#include "foundation/progress/session_values.h"
#include "foundation/system.h"
#include "frames/orientation/orient_image_block.h"
#include "output/image_file_writer.h"
#include "records/defaults_block.h"
#include "records/frame_record.h"
#include "state/data_source_state.h"

namespace {

// How the file is cut into blocks and in which order they are taken.
struct BlockPlan {
  int64_t perBlock;  // rows, or columns when turning
  int64_t blocks;
  bool columns;      // column blocks
  bool backwards;
};

uint64_t BytesOf(int64_t pixels, int32_t bitsPerPixel) {
  return (static_cast<uint64_t>(pixels) * static_cast<uint64_t>(bitsPerPixel) + 7) / 8;
}

}  // namespace

bool ImageFileWriter::ReadBackLines(FileHandle file, const CopyBlock& block, uint8_t* buffer) {
  const uint64_t rowBytes = ProcessedRowBytes();
  if (block.columns == columns_) {
    const uint64_t bytes = rowBytes * static_cast<uint64_t>(block.rows);
    return bytes <= UINT32_MAX &&
           ReadBytesAt(file, rowBytes * static_cast<uint64_t>(block.firstRow), buffer, static_cast<uint32_t>(bytes));
  }
  // Rows of planes give each plane's part of the block; whole pixels one part.
  const int32_t sampleBits = bitsPerChannel_;
  const bool planar = !interleave_ && samplesPerPixel_ > 1;
  const int32_t parts = planar ? samplesPerPixel_ : 1;
  const int32_t partBits = planar ? sampleBits : sampleBits * samplesPerPixel_;
  const uint64_t partRowBytes = BytesOf(columns_, partBits);
  const uint64_t partStart = BytesOf(block.firstColumn, partBits);
  const uint64_t partBytes = BytesOf(block.columns, partBits);
  uint8_t* to = buffer;
  for (int32_t r = 0; r < block.rows; ++r) {
    const uint64_t row = rowBytes * static_cast<uint64_t>(block.firstRow + r);
    for (int32_t p = 0; p < parts; ++p, to += partBytes)
      if (!ReadBytesAt(file, row + partRowBytes * static_cast<uint64_t>(p) + partStart, to,
                       static_cast<uint32_t>(partBytes)))
        return false;
  }
  return true;
}

void ImageFileWriter::ConvertLines(const CopyBlock& block, uint8_t* from, uint8_t* to) {
  const WriterOrientation& flags = Flags();
  OrientImageBlock(from, to, block.rows, block.columns, samplesPerPixel_ * bitsPerChannel_, flags.reverseEachRow,
                   flags.reverseRowOrder, flags.exchangeAxes, interleave_ || samplesPerPixel_ == 1, 0);
}

bool ImageFileWriter::CopyLinesToOutput(FileHandle file, int32_t n, int32_t of) {
  const WriterOrientation& flags = Flags();
  const bool reorient = orientationNeeded_ != 0;
  const int32_t bitsPerPixel = samplesPerPixel_ * bitsPerChannel_;
  const uint64_t sampleBytes = bitsPerChannel_ == 16 ? 2 : 1;
  const uint64_t pixelUnits = static_cast<uint64_t>(samplesPerPixel_) * sampleBytes;

  BlockPlan plan{};
  uint64_t bufferBytes = 0;
  if (reorient && !flags.rowsStayRows) {
    // Blocks of whole columns, each turned into a block of output rows.
    const uint64_t bytes = std::min<uint64_t>(2 * imageBytes_, copyBlockLimit_) / 2;
    int64_t perBlock = std::max<int64_t>(8, static_cast<int64_t>(bytes / std::max(rows_, 1) / pixelUnits));
    if (bitsPerChannel_ == 1) perBlock -= perBlock % 8;
    plan = {perBlock, 0, true, flags.blocksFromEnd != 0};
    plan.blocks = (columns_ + perBlock - 1) / perBlock;
    // A turned block's rows round up on their own.
    bufferBytes = std::max(static_cast<uint64_t>(rows_) * BytesOf(perBlock, bitsPerPixel),
                           static_cast<uint64_t>(perBlock) * BytesOf(rows_, bitsPerPixel));
  } else {
    const uint64_t bytes = reorient ? std::min<uint64_t>(2 * imageBytes_, copyBlockLimit_) / 2
                                    : std::min<uint64_t>(imageBytes_, copyBlockLimit_);
    const int64_t perBlock = std::max<int64_t>(1, static_cast<int64_t>(bytes / std::max(columns_, 1) / pixelUnits));
    plan = {perBlock, (rows_ + perBlock - 1) / perBlock, false, reorient && flags.readBackwards};
    bufferBytes = ProcessedRowBytes() * static_cast<uint64_t>(perBlock);
  }

  const uint32_t subtitle =
      reorient ? ColorModeNameId(gScanFrame.colorMode == 2, bitsPerChannel_, GetDefault(gDefaults, kDefaultOutputCmsMode))
               : 0;
  OpenWriterProgress(false, static_cast<int32_t>(ProgressTitleId(flags.reverseEachRow || flags.reverseRowOrder,
                                                                 flags.exchangeAxes != 0)),
                     static_cast<int32_t>(subtitle));
  uint8_t* first = bufferBytes <= UINT32_MAX ? static_cast<uint8_t*>(AllocBlock(static_cast<uint32_t>(bufferBytes)))
                                             : nullptr;
  uint8_t* second = reorient && first ? static_cast<uint8_t*>(AllocBlock(static_cast<uint32_t>(bufferBytes))) : nullptr;
  bool copied = first && (second || !reorient);
  for (int64_t i = 0; copied && i < plan.blocks; ++i) {
    const int64_t b = plan.backwards ? plan.blocks - 1 - i : i;
    const int64_t start = b * plan.perBlock;
    const int32_t extent = plan.columns ? columns_ : rows_;
    const int32_t count = static_cast<int32_t>(std::min<int64_t>(plan.perBlock, extent - start));
    const CopyBlock block = plan.columns ? CopyBlock{0, rows_, static_cast<int32_t>(start), count}
                                         : CopyBlock{static_cast<int32_t>(start), count, 0, columns_};
    copied = ReadBackLines(file, block, first);
    if (!copied) break;
    const uint8_t* out = first;
    if (reorient) {
      ConvertLines(block, first, second);
      out = second;
    }
    const int32_t outRows = plan.columns ? block.columns : block.rows;
    const int32_t outColumns = plan.columns ? block.rows : block.columns;
    copied = WriteOutputLines(out, BytesOf(outColumns, bitsPerPixel) * static_cast<uint64_t>(outRows), outRows,
                              outColumns);
    UpdateWriterProgress(static_cast<int32_t>(i + 1), static_cast<int32_t>(plan.blocks), n, of);
  }
  CloseWriterProgress();
  FreeBlock(first);
  FreeBlock(second);
  if (!copied) PlayBeep(0);
  return copied;
}
