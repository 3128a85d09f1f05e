#include "foundation/dialogs/user_prompts.h"

#include <cstring>

#include "foundation/memory.h"
#include "foundation/paths.h"
#include "foundation/system.h"

const char* const kDefaultNamePrompt = "Name f\xFCr Parameter eingeben";

namespace {

// Copies a chosen path into the caller's buffer; false when it does not fit.
bool TakePath(const std::string& chosen, char* path, uint32_t capacity) {
  if (chosen.empty() || chosen.size() + 1 > capacity) return false;
  std::memcpy(path, chosen.c_str(), chosen.size() + 1);
  return true;
}

uint16_t FileNameOffset(const char* path) { return static_cast<uint16_t>(FileNamePart(path) - path); }

PromptRequest FileRequest(PromptKind kind, WindowHandle owner, const char* title, const char* filter,
                          const char* initialFolder, const char* path, uint32_t pathSize) {
  PromptRequest request;
  request.kind = kind;
  request.owner = owner;
  request.title = title ? title : "";
  if (filter) request.filter.assign(filter, FilterListLength(filter));
  request.folder = initialFolder ? initialFolder : "";
  request.initial = path;
  request.capacity = pathSize;
  return request;
}

bool AnswerFile(const PromptRequest& request, char* path, uint32_t pathSize, uint16_t* fileNameOffset,
                int* filterIndex) {
  PromptAnswer answer = AskPrompt(request);
  if (answer.result != kAnswerOk || !TakePath(answer.value, path, pathSize)) return false;
  if (fileNameOffset) *fileNameOffset = FileNameOffset(path);
  if (filterIndex) *filterIndex = answer.filterIndex;
  return true;
}

}  // namespace

uint32_t FilterListLength(const char* filter) {
  const char* end = filter;
  while (*end) end += std::strlen(end) + 1;
  return static_cast<uint32_t>(end - filter) + 1;
}

bool AskName(char* name, WindowHandle owner, uint32_t promptId) {
  PromptRequest request;
  request.kind = PromptKind::kName;
  request.owner = owner;
  request.initial.assign(name, strnlen(name, kNameSize - 1));
  char prompt[kNameSize] = "";
  if (promptId != 0 && LoadResourceString(GetModuleInstance(), promptId, prompt, sizeof prompt) > 0) {
    request.text = prompt;
    request.textId = promptId;
  } else {
    request.text = kDefaultNamePrompt;
  }
  PromptAnswer answer = AskPrompt(request);
  if (answer.result != kAnswerOk) return false;
  size_t length = answer.value.size() < kNameSize - 1 ? answer.value.size() : kNameSize - 1;
  std::memcpy(name, answer.value.data(), length);
  name[length] = '\0';
  return true;
}

bool ChooseFolder(WindowHandle owner, const char* caption, char* initialFolder, char* path, uint32_t capacity) {
  size_t length = std::strlen(initialFolder);
  if (length > 0 && initialFolder[length - 1] == '\\') initialFolder[length - 1] = '\0';
  PromptRequest request;
  request.kind = PromptKind::kFolder;
  request.owner = owner;
  request.title = caption ? caption : "";
  request.initial = initialFolder;
  request.capacity = capacity;
  PromptAnswer answer = AskPrompt(request);
  return answer.result == kAnswerOk && TakePath(answer.value, path, capacity);
}

bool AskOpenFile(WindowHandle owner, const char* title, const char* filter, const char* initialFolder, char* path,
                 uint32_t pathSize, uint16_t* fileNameOffset) {
  PromptRequest request = FileRequest(PromptKind::kOpenFile, owner, title, filter, initialFolder, path, pathSize);
  return AnswerFile(request, path, pathSize, fileNameOffset, nullptr);
}

bool AskOpenImageFile(WindowHandle owner, const char* title, const char* filter, const char* initialFolder,
                      char* path, uint32_t pathSize, uint16_t* fileNameOffset) {
  PromptRequest request =
      FileRequest(PromptKind::kOpenImageFile, owner, title, filter, initialFolder, path, pathSize);
  return AnswerFile(request, path, pathSize, fileNameOffset, nullptr);
}

bool AskSaveFile(WindowHandle owner, const char* title, const char* filter, const char* initialFolder, char* path,
                 uint32_t pathSize, uint16_t* fileNameOffset, const char* defaultExtension) {
  PromptRequest request = FileRequest(PromptKind::kSaveFile, owner, title, filter, initialFolder, path, pathSize);
  request.defaultExtension = defaultExtension ? defaultExtension : "";
  return AnswerFile(request, path, pathSize, fileNameOffset, nullptr);
}

bool SaveImageAs(WindowHandle owner, const char* filter, int* filterIndex, const char* initialFolder, char* path,
                 uint32_t pathSize, uint16_t* fileNameOffset) {
  PromptRequest request = FileRequest(PromptKind::kSaveImage, owner, "", filter, initialFolder, path, pathSize);
  request.filterIndex = *filterIndex;
  return AnswerFile(request, path, pathSize, fileNameOffset, filterIndex);
}
