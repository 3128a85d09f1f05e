// 1-based singly linked lists of texts, built by putting new nodes in front.
#pragma once

struct NameNode {
  char text[256];
  NameNode* next;
};

struct PathPairNode {
  char first[260];
  char path[260];
  PathPairNode* next;
};

// Puts a node holding a copy of the text (cut to 255 characters) in front;
// the old head when no block could be had.
NameNode* PushNameNode(NameNode* head, const char* text);
void FreeNameList(NameNode** head);
// A node whose text equals the text exactly; its 1-based position.
bool FindNameInList(const char* text, const NameNode* head, int* position);
// A node whose whole text is a prefix of the given text; its position.
bool FindNamePrefixInList(const char* text, const NameNode* head, int* position);
// The text of the node at the position ("" first); false when there is none.
bool GetNameAt(int position, char* text, const NameNode* head);

PathPairNode* PushPathPair(PathPairNode* head, const char* path, const char* first);
void FreePathPairList(PathPairNode** head);
// The first node whose path's file name equals the name, ignoring case.
bool FindPathByFileName(const char* fileName, const PathPairNode* head, char* path);
bool FindPathIndexByFileName(const char* fileName, const PathPairNode* head, char* path, int* position);
// That node's position, 0 for none.
int IndexOfFileName(const char* fileName, const PathPairNode* head);
bool GetPairSecondAt(int position, char* text, const PathPairNode* head);
bool GetPairFirstAt(int position, char* text, const PathPairNode* head);
