// The sensor's numbered errors: the message each one prints, and what it
// tells an administrator.  The README's error reference is kept equal to this
// table by a test, so the two cannot drift apart.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/bounded_text.h"

/// Every numbered error the sensor can end a run with; `count` is none, but
/// their number, which the table of rows is checked against.
enum class NumberedError {
  ProfileNameMissing,
  ProfileMissing,
  InvalidParameter,
  InvalidPassword,
  WrongPassword,
  UserMissing,
  PasswordMissing,
  OutputTargetUnknown,
  OptionsTooLong,
  RfcOpenFailed,
  FunctionException,
  SystemException,
  RfcFailure,
  OtherFailure,
  ProfileNameTooLong,
  SensorDirectoryTooLong,
  ItemProfileMissing,
  GlobalListingMissing,
  ServerListingMissing,
  ItemMissing,
  ServerListingTooLong,
  SensorEntryTooLong,
  SensorAllocationInvalid,
  GlobalSensorNotFound,
  ParallelSettingInvalid,
  ChannelLimitsInvalid,
  ItemUnknown,
  RfcLibraryUnusable,
  ListingLineTooLong,
  count
};

/// One error: its number, its message around the one name it may carry, and
/// the cause and remedy the README gives.
struct NumberedErrorRow {
  NumberedError error;
  /// As the message shows it: "1002"; "10x1" is a number of its own.
  std::string_view number;
  /// The message is "Error NUMBER: " + `before_name` + the name + `after_name`.
  std::string_view before_name;
  std::string_view after_name;
  std::string_view cause;
  std::string_view remedy;
};

/// Every row, in the order of NumberedError.
struct NumberedErrorTable {
  const NumberedErrorRow* rows;
  std::size_t count;
  const NumberedErrorRow* begin() const { return rows; }
  const NumberedErrorRow* end() const { return rows + count; }
};

/// The whole table.
NumberedErrorTable numbered_error_table();

/// The row of one error.
const NumberedErrorRow& numbered_error_row(NumberedError error);

/// Writes the message of `error` carrying `name` into `message`, cut at its capacity.
void write_numbered_error(NumberedError error, std::string_view name, TextBuffer& message);
