// Job files and clipboard blocks on fuzzed bytes: the bytes are read as a job
// file, and without their first four bytes (the version word) as a clipboard
// block. Every entry that is taken must write back as a sound record.
#include <vector>

#include "output/job_file.h"
#include "output/job_list.h"
#include "output/job_records.h"
#include "tools/fuzz/fuzz_target.h"

namespace {

const unsigned char kVendor[] = "\x0AQuillbrook";
const unsigned char kModel[] = "\x03ZIR";

void CheckEntries(const JobList& list) {
  for (JobNode* node = list.Head(); node; node = node->next) {
    std::vector<uint8_t> record;
    WriteJobItem(*node->item, &record);
    if (!IsSoundJobRecord(record.data() + 4, static_cast<uint32_t>(record.size() - 4), kJobFileVersion))
      __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteFuzzFile("zir_fuzz_job.qbj", data, size);
  if (path.empty()) return 0;
  {
    JobList list(kVendor, kModel, "Fuzz");
    FileHandle file = OpenFileForReading(path.c_str());
    JobFileHeader header;
    uint32_t version = 0;
    if (file && ReadJobFileHeader(file, &header, &version)) ReadJobFile(&list, file, header.count, version);
    CloseFile(file);
    CheckEntries(list);
    list.MarkStored();  // no job folder to remove
  }
  if (size > 4) {
    JobList list(kVendor, kModel, "Fuzz");
    const std::vector<uint8_t> block(data + 4, data + size);
    PasteJobClipboardBlock(&list, block.data(), static_cast<uint32_t>(block.size()), 1, kVendor);
    CheckEntries(list);
    list.MarkStored();
  }
  return 0;
}
