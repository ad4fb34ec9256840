// Tables indexed by an enum.  Each row names the value it stands for, so that
// the build can check that every row lies at that value's index; with a
// `static_assert` on the table's size against the enum's trailing `count`, a
// missing, extra or misplaced row fails the build instead of being read past.
#pragma once

#include <cstddef>

/// Whether each row's `value` (an enum value or a number) is its own index.
template <typename Row, std::size_t row_count, typename Value>
constexpr bool rows_in_value_order(const Row (&rows)[row_count], Value Row::*value) {
  for (std::size_t i = 0; i < row_count; ++i)
    if (static_cast<std::size_t>(rows[i].*value) != i) return false;
  return true;
}

/// Whether each value of a list of enum values is its own index.
template <typename Value, std::size_t value_count>
constexpr bool values_in_order(const Value (&values)[value_count]) {
  for (std::size_t i = 0; i < value_count; ++i)
    if (static_cast<std::size_t>(values[i]) != i) return false;
  return true;
}
