#include "common/handle_table.h"

#include <gtest/gtest.h>

namespace {

struct Entry {
  int value = 0;
};

TEST(HandleTable, HandlesAreNeverZeroAndFindOnlyOpenEntries) {
  HandleTable<Entry, 2> table;
  TableHandle first = no_table_handle;
  TableHandle second = no_table_handle;
  Entry* one = table.take(&first);
  Entry* two = table.take(&second);
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  EXPECT_NE(first, no_table_handle);
  EXPECT_NE(second, first);
  TableHandle none = 77;
  EXPECT_EQ(table.take(&none), nullptr) << "a full table gives out nothing";
  EXPECT_EQ(none, 77u);
  EXPECT_EQ(table.find(first), one);
  EXPECT_EQ(table.find(second), two);
  for (TableHandle never : {no_table_handle, TableHandle{3}, ~TableHandle{0}}) EXPECT_EQ(table.find(never), nullptr);

  one->value = 5;
  table.release(*one);
  EXPECT_EQ(table.find(first), nullptr) << "a released entry's handle finds nothing";
  EXPECT_EQ(table.find(second), two);
  TableHandle again = no_table_handle;
  EXPECT_EQ(table.take(&again), one) << "the freed entry is the one taken next";
  EXPECT_EQ(again, first);
  EXPECT_EQ(one->value, 0) << "nothing of the entry's earlier user remains";
}

}  // namespace
