// Name lists and path pairs.
#include <gtest/gtest.h>

#include "foundation/name_list.h"

namespace {

TEST(NameList, PositionsCountFromTheHead) {
  NameNode* head = nullptr;
  head = PushNameNode(head, "Standard");
  head = PushNameNode(head, "Dia");
  int position = 0;
  ASSERT_TRUE(FindNameInList("Standard", head, &position));
  EXPECT_EQ(position, 2);
  EXPECT_FALSE(FindNameInList("standard", head, &position)) << "case-sensitive";
  ASSERT_TRUE(FindNamePrefixInList("Diapositiv", head, &position));
  EXPECT_EQ(position, 1);
  char text[256];
  ASSERT_TRUE(GetNameAt(2, text, head));
  EXPECT_STREQ(text, "Standard");
  EXPECT_FALSE(GetNameAt(3, text, head));
  EXPECT_STREQ(text, "");
  EXPECT_FALSE(GetNameAt(0, text, head));
  FreeNameList(&head);
  EXPECT_EQ(head, nullptr);
}

TEST(NameList, PathPairsFindFileNamesIgnoringCase) {
  PathPairNode* head = nullptr;
  head = PushPathPair(head, "C:\\Bilder\\Scan1.TIF", "Erster");
  head = PushPathPair(head, "C:\\Bilder\\scan2.tif", "Zweiter");
  char path[260];
  int position = 0;
  ASSERT_TRUE(FindPathIndexByFileName("SCAN1.tif", head, path, &position));
  EXPECT_STREQ(path, "C:\\Bilder\\Scan1.TIF");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(IndexOfFileName("scan2.tif", head), 1);
  EXPECT_EQ(IndexOfFileName("Bilder", head), 0);
  EXPECT_TRUE(FindPathByFileName("scan2.TIF", head, path));
  ASSERT_TRUE(GetPairFirstAt(2, path, head));
  EXPECT_STREQ(path, "Erster");
  ASSERT_TRUE(GetPairSecondAt(1, path, head));
  EXPECT_STREQ(path, "C:\\Bilder\\scan2.tif");
  FreePathPairList(&head);
  EXPECT_EQ(head, nullptr);
}

}  // namespace
