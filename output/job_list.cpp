#include "output/job_list.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/folder_tools.h"
#include "foundation/memory.h"
#include "foundation/paths.h"
#include "output/job_cache.h"
#include "output/job_thumbnails.h"
#include "output/output_names.h"

namespace {

constexpr const char* kCopyPrefix = "Kopie von";
constexpr const char* kNumberedCopyPrefix = "Kopie (%d) von";

}  // namespace

JobNode* NthJobNode(const JobList& list, int16_t n) {
  JobNode* node = list.Head();
  for (int16_t i = 2; node && i <= n; ++i) node = node->next;
  return node;
}

JobList::JobList(const unsigned char* vendorName, const unsigned char* modelName, const char* name) {
  std::memcpy(vendorName_, vendorName, 1u + vendorName[0] < sizeof vendorName_ ? 1u + vendorName[0] : sizeof vendorName_);
  std::memcpy(modelName_, modelName, 1u + modelName[0] < sizeof modelName_ ? 1u + modelName[0] : sizeof modelName_);
  std::strncpy(name_, name, sizeof name_ - 1);
  char folder[kPathSize];
  InitDefaultOutputFolder(folder);
  std::strncpy(outputFolder_, folder, sizeof outputFolder_ - 1);
  outputFormat_ = gOutputFormat;
}

JobList::~JobList() {
  DeleteAllEntries();
  char folder[kPathSize];
  if (!stored_ && JobCacheFolder(*this, folder)) DeleteFolder(folder);
}

JobItem* JobList::ItemAt(int16_t index) const {
  if (index < 1 || index > count_) return nullptr;
  JobNode* node = NthJobNode(*this, index);
  return node ? node->item : nullptr;
}

bool JobList::ContainsFrameName(const char* name) const {
  for (JobNode* node = head_; node; node = node->next)
    if (node->item->frame.hasName && SamePathText(node->item->frame.name, name)) return true;
  return false;
}

void JobList::MakeUniqueFrameName(FrameRecord* frame) const {
  if (!frame->hasName || !ContainsFrameName(frame->name)) return;
  const std::string name(frame->name);
  // The record holds 47 characters: a longer candidate is stored cut.
  const auto stored = [](std::string text) { return text.substr(0, sizeof(FrameRecord::name) - 1); };
  std::string candidate = stored(std::string(kCopyPrefix) + " " + name.substr(0, kFrameNameLimit - std::strlen(kCopyPrefix)));
  for (int n = 2; ContainsFrameName(candidate.c_str()); ++n) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, kNumberedCopyPrefix, n);
    // A numbered candidate only while prefix and name stay below 49 characters.
    if (std::strlen(prefix) + name.size() >= kFrameNameLimit + 1) return;
    candidate = stored(std::string(prefix) + " " + name);
  }
  std::memset(frame->name, 0, sizeof frame->name);
  std::memcpy(frame->name, candidate.data(), candidate.size());
}

JobNode* JobList::AddJobItem(FrameRecord* frame, uint8_t autoBeforeRun, int32_t kind, const char* imagePath,
                             void* arg) {
  JobNode* node = static_cast<JobNode*>(AllocBlock(sizeof(JobNode)));
  if (!node) return nullptr;
  const FrameRecord callers = *frame;
  MakeUniqueFrameName(frame);
  char previewName[kPreviewCacheNameSize] = {}, zoomName[kZoomCacheNameSize] = {};
  if (kind == kJobCurrentSource || kind == kJobFile) {
    CachePreviewFile(*this, previewName);
    CacheZoomFile(*this, zoomName, *frame);
  }
  JobItem* item = NewJobItem(kind, *frame, autoBeforeRun, previewName, zoomName, imagePath);
  *frame = callers;
  if (!item) {
    FreeBlock(node);
    return nullptr;
  }
  item->BuildThumbnail(arg);
  node->item = item;
  node->next = nullptr;
  node->prev = nullptr;
  if (!head_) {
    head_ = node;
  } else {
    JobNode* last = head_;
    while (last->next) last = last->next;
    last->next = node;
    node->prev = last;
  }
  ++count_;
  modified_ = 1;
  return node;
}

void JobList::SetName(const char* name) {
  std::memset(name_, 0, sizeof name_);
  std::strncpy(name_, name, sizeof name_ - 1);
}

void JobList::InsertNode(JobNode* node, int16_t after) {
  JobNode* previous = after >= 1 && after <= count_ ? NthJobNode(*this, after) : nullptr;
  if (!previous && head_) {
    previous = head_;
    while (previous->next) previous = previous->next;
  }
  node->prev = previous;
  node->next = previous ? previous->next : head_;
  if (node->next) node->next->prev = node;
  (previous ? previous->next : head_) = node;
  ++count_;
}

void JobList::DeleteEntry(int16_t index) {
  if (index < 1 || index > count_) return;
  JobNode* node = NthJobNode(*this, index);
  if (!node) return;
  if (node->prev) node->prev->next = node->next;
  else head_ = node->next;
  if (node->next) node->next->prev = node->prev;
  delete node->item;
  FreeBlock(node);
  --count_;
  modified_ = 1;
}

void JobList::DeleteAllEntries() {
  while (count_ >= 1) DeleteEntry(1);
}

bool JobList::CanEditEntry(int16_t index) const {
  JobItem* item = ItemAt(index);
  return item && item->CanEdit();
}

bool JobList::EntryDiffersFromCurrent(int16_t index) const {
  JobItem* item = ItemAt(index);
  return !item || item->DiffersFromCurrent();
}

void JobList::TakeEntryFromCurrent(int16_t index) {
  if (JobItem* item = ItemAt(index)) {
    item->TakeFromCurrent();
    modified_ = 1;
  }
}

void JobList::RefreshEntryCache(int16_t index) {
  JobItem* item = ItemAt(index);
  if (!item) return;
  FrameRecord changed;
  if (item->FetchChangedFrame(&changed)) {
    char previewName[kPreviewCacheNameSize] = {}, zoomName[kZoomCacheNameSize] = {};
    CachePreviewFile(*this, previewName);
    CacheZoomFile(*this, zoomName, changed);
    item->SetNamesIfEmpty(previewName, zoomName);
    modified_ = 1;
  }
  item->DeleteCachedFiles();
}

void JobList::ResetEntryStatus(int16_t index) {
  JobItem* item = ItemAt(index);
  if (!item || item->Status() == kJobToRun) return;
  item->SetStatus(kJobToRun);
  modified_ = 1;
}

void JobList::CopyScanParametersTo(int16_t index, int32_t group) {
  if (JobItem* item = ItemAt(index)) {
    item->CopyScanParameters(group);
    modified_ = 1;
  }
}

void JobList::ApplyDeviceLimitsTo(int16_t index) {
  if (JobItem* item = ItemAt(index)) item->ApplyDeviceLimits();
}

void JobList::GetOutputFolder(char* out) const { std::strcpy(out, outputFolder_); }

void JobList::SetOutputFolder(const char* path, bool quiet) {
  if (std::strncmp(path, outputFolder_, sizeof outputFolder_ - 1) == 0) return;
  std::memset(outputFolder_, 0, sizeof outputFolder_);
  std::strncpy(outputFolder_, path, sizeof outputFolder_ - 1);
  if (!quiet) modified_ = 1;
}

void JobList::SetOutputFormat(int32_t format, bool quiet) {
  if (format == outputFormat_) return;
  outputFormat_ = format;
  if (!quiet) modified_ = 1;
}

void JobList::GetName(char* out) const { std::strcpy(out, name_); }

bool JobList::NeedsThumbnails() const {
  for (JobNode* node = head_; node; node = node->next)
    if (!node->item->HasThumbnail()) return true;
  return false;
}

bool JobList::EntryHasThumbnail(int16_t index) const {
  JobItem* item = ItemAt(index);
  return item && item->HasThumbnail();
}

void JobList::RebuildEntryThumbnail(int16_t index) {
  if (JobItem* item = ItemAt(index)) {
    RefreshThumbnail(*item, 1);
    modified_ = 1;
  }
}

int16_t JobList::CountRunnableEntries(const uint8_t* selection) const {
  int16_t runnable = 0;
  int16_t i = 0;
  for (JobNode* node = head_; node; node = node->next, ++i)
    if (selection[i] && node->item->Status() == kJobToRun) ++runnable;
  return runnable;
}
