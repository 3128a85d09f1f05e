#include "foundation/name_list.h"

#include <cctype>
#include <cstring>

#include "foundation/memory.h"
#include "foundation/paths.h"

namespace {

void CopyCut(char* destination, const char* source, size_t size) {
  std::strncpy(destination, source, size - 1);
  destination[size - 1] = '\0';
}

template <typename Node>
const Node* NodeAt(int position, const Node* head) {
  for (int i = 1; head && i < position; ++i) head = head->next;
  return position >= 1 ? head : nullptr;
}

template <typename Node>
void FreeList(Node** head) {
  while (*head) {
    Node* next = (*head)->next;
    FreeBlock(*head);
    *head = next;
  }
}

bool EqualIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

}  // namespace

NameNode* PushNameNode(NameNode* head, const char* text) {
  auto* node = static_cast<NameNode*>(AllocBlock(sizeof(NameNode)));
  if (!node) return head;
  CopyCut(node->text, text, sizeof node->text);
  node->next = head;
  return node;
}

void FreeNameList(NameNode** head) { FreeList(head); }

bool FindNameInList(const char* text, const NameNode* head, int* position) {
  for (int i = 1; head; head = head->next, ++i) {
    if (std::strcmp(head->text, text) == 0) {
      *position = i;
      return true;
    }
  }
  return false;
}

bool FindNamePrefixInList(const char* text, const NameNode* head, int* position) {
  for (int i = 1; head; head = head->next, ++i) {
    if (std::strncmp(head->text, text, std::strlen(head->text)) == 0) {
      *position = i;
      return true;
    }
  }
  return false;
}

bool GetNameAt(int position, char* text, const NameNode* head) {
  text[0] = '\0';
  const NameNode* node = NodeAt(position, head);
  if (!node) return false;
  std::strcpy(text, node->text);
  return true;
}

PathPairNode* PushPathPair(PathPairNode* head, const char* path, const char* first) {
  auto* node = static_cast<PathPairNode*>(AllocBlock(sizeof(PathPairNode)));
  if (!node) return head;
  CopyCut(node->first, first, sizeof node->first);
  CopyCut(node->path, path, sizeof node->path);
  node->next = head;
  return node;
}

void FreePathPairList(PathPairNode** head) { FreeList(head); }

bool FindPathIndexByFileName(const char* fileName, const PathPairNode* head, char* path, int* position) {
  for (int i = 1; head; head = head->next, ++i) {
    if (EqualIgnoringCase(FileNamePart(head->path), fileName)) {
      std::strcpy(path, head->path);
      *position = i;
      return true;
    }
  }
  return false;
}

bool FindPathByFileName(const char* fileName, const PathPairNode* head, char* path) {
  int position = 0;
  return FindPathIndexByFileName(fileName, head, path, &position);
}

int IndexOfFileName(const char* fileName, const PathPairNode* head) {
  char path[260];
  int position = 0;
  return FindPathIndexByFileName(fileName, head, path, &position) ? position : 0;
}

bool GetPairSecondAt(int position, char* text, const PathPairNode* head) {
  const PathPairNode* node = NodeAt(position, head);
  if (!node) return false;
  std::strcpy(text, node->path);
  return true;
}

bool GetPairFirstAt(int position, char* text, const PathPairNode* head) {
  const PathPairNode* node = NodeAt(position, head);
  if (!node) return false;
  std::strcpy(text, node->first);
  return true;
}
