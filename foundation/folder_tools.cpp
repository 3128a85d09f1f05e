#include "foundation/folder_tools.h"

#include <string>

#include "foundation/file_io.h"
#include "foundation/name_list.h"
#include "foundation/paths.h"

namespace {

void Gather(const char* name, void* context) {
  auto** list = static_cast<NameNode**>(context);
  *list = PushNameNode(*list, name);
}

}  // namespace

bool DeleteFolder(const char* folder) {
  // The names are gathered first, so the listing never sees its own deletions.
  NameNode* names = nullptr;
  ForEachFileInFolder(folder, Gather, &names);
  for (const NameNode* node = names; node; node = node->next) {
    char path[kPathSize] = "";
    AppendToPath(path, folder);
    size_t length = std::char_traits<char>::length(path);
    if (length > 0 && path[length - 1] != '\\' && path[length - 1] != '/') AppendToPath(path, "\\");
    if (AppendToPath(path, node->text)) DeleteFileAt(path);
  }
  FreeNameList(&names);
  return RemoveFolder(folder);
}
