#include "common/numbered_errors.h"

#include <iterator>

#include "common/enum_table.h"

namespace {

using E = NumberedError;

// The messages are the ones monitors have parsed for years, misspellings
// included; the causes and remedies are the README's, in its Markdown.
constexpr NumberedErrorRow rows[] = {
    {E::ProfileNameMissing, "1001", "Parameter for Profile-Name is missing !", "",
     "no profile name on the command line", "pass the profile name as the first argument"},
    {E::ProfileMissing, "1002", "Profile ", " is missing...", "the profile was not found (the message names it)",
     "check the name, `C:\\PRTG_Path.Txt` and the custom-sensor directory (`@`, which skips that search, also "
     "switches console mode on: for trials at a console only)"},
    {E::InvalidParameter, "1003", "Invalid Parameter(s) at ", " found...",
     "a label is missing or a value is shorter (or longer) than its field allows",
     "`quenmarel-profile check` names the field"},
    {E::InvalidPassword, "1004", "Invalid Password in Profile ", " found...",
     "the stored password has the wrong length or header", "write the password again with `quenmarel-profile`"},
    {E::WrongPassword, "1005", "Wrong Password in Profile ", " found...",
     "the stored password fails its check digit (damaged, or scrambled by another tool)",
     "write the password again with `quenmarel-profile`"},
    {E::UserMissing, "1006", "Username in Profile ", " is missing...",
     "no user (the label must be `User.......:` exactly)", "add the user line"},
    {E::PasswordMissing, "1007", "Password in Profile ", " is missing...", "no password, or a stored length of 0",
     "add the password with `quenmarel-profile`"},
    {E::OutputTargetUnknown, "1008", "Output target in ", " !", "`quenmarel.target` names no known target",
     "write one of the six keywords, exactly, on its first line"},
    {E::OptionsTooLong, "1009", "Parameters longer than 127 characters !", "",
     "the option words are longer than 127 characters together", "shorten the options"},
    {E::RfcOpenFailed, "1011", "RFC-Open for ", " failed !",
     "the connection could not be opened (host down, wrong host or system number, logon rejected, unknown "
     "destination in `SapRfc.ini`)",
     "check the profile and `Dev_Rfc.Trc` in the working directory"},
    {E::FunctionException, "1012", "Exception.: ", "", "the function module raised an exception (its text follows)",
     "check the user's authorizations for `SAPTUNE_ROLL_PAGE_SIZES`"},
    {E::SystemException, "1013", "Sys-Exception raised !", "", "the SAP system reported a system exception",
     "see the text after the message and `Dev_Rfc.Trc`"},
    {E::RfcFailure, "1014", "RFC-Failure raised !", "", "the RFC call failed",
     "see the text after the message and `Dev_Rfc.Trc`"},
    {E::OtherFailure, "1015", "Other Failure raised !", "", "the RFC library gave another result code",
     "see `Dev_Rfc.Trc`"},
    {E::ProfileNameTooLong, "1016", "Profile-Name too long...", "",
     "the profile name is too long: more than 63 characters of file name, or more than 95 of directory",
     "use a shorter name or directory"},
    {E::SensorDirectoryTooLong, "1017", "Sensor Directory in ", " too long...",
     "the directory named in `C:\\PRTG_Path.Txt` is too long: more than 95 characters with a closing backslash and "
     "the sub-directory the sensor takes below it (`PRTG Network Monitor\\Custom Sensors\\ExeXml\\` or `Custom "
     "Sensors\\ExeXml\\`)",
     "name a shorter directory"},
    {E::ItemProfileMissing, "1024", "ProFile ", " is missing...", "`Gastrelo.Prf` could not be read a second time",
     "check the file's permissions"},
    {E::GlobalListingMissing, "10x1", "ProFile ", " is missing...",
     "`SAP Gastrelo.Gbl` could not be read a second time (the message says `Error 10x1`, with the letter x, as "
     "monitors have always parsed it)",
     "check the file's permissions"},
    {E::ServerListingMissing, "1025", "Global Server Listing missing...", "",
     "the listing names no system for this run", "add `# Gsng: ` / `# GSNG: ` lines"},
    {E::ItemMissing, "1026", "Global Item Idenification missing...", "", "the entry has no `Item=` (exact case)",
     "add `Item=Name` to the `# GSNX: ` line"},
    {E::ServerListingTooLong, "1027", "Global Server Listing too long...", "",
     "the listing is longer than 2047 characters", "split it over several sensors"},
    {E::SensorEntryTooLong, "1028", "Global Sensor Entry too long...", "",
     "the `# GSNX: ` entry text is longer than 127 characters", "shorten the entry"},
    {E::SensorAllocationInvalid, "1029", "Invalid Sensor-Allocation...", "",
     "the `# GSNX: ` entry lacks `Sensor=\"SAP Quenmarel\"` (exact case)", "correct the allocation"},
    {E::GlobalSensorNotFound, "1030", "Global Sensor ", " not found...", "no `# GSNX: ` entry for the sensor word",
     "check the sensor word and the file"},
    {E::ParallelSettingInvalid, "1031", ",PARALLEL=", " is not a number of systems from 1 to 16 !",
     "`,PARALLEL=` is not followed by a number from 1 to 16 (the message shows what follows it)",
     "write `,PARALLEL=` and 1 to 16"},
    {E::ChannelLimitsInvalid, "1032", ",LIMITS=", " is not W/E or /E with limits from 1 to 999 and W below E !",
     "`,LIMITS=` is not followed by a warning and an error limit, or `/` and an error limit, whole numbers from 1 "
     "to 999 with the warning limit below the error limit (the message shows what follows it)",
     "write for example `,LIMITS=80/95`, or `,LIMITS=/95` for an error limit alone"},
    {E::ItemUnknown, "1033", "Item ", " !",
     "the item (`ITEM=` or the entry's `Item=`) is none of the five channel names; the message lists them, and "
     "names the one meant when only the case or a colon differs",
     "write the name exactly, colons for blanks: `Pages:Used`, `Pages:MaxUsed`, `Pages:Wp:Local`, `Rolls:Used`, "
     "`Rolls:MaxUsed`"},
    {E::RfcLibraryUnusable, "1034", "", "",
     "the RFC library cannot be used: not found beside the sensor nor on the system's search path, built for the "
     "other bitness, needing a library that is missing, or lacking one of the seven functions (the message says "
     "which, and what to do)",
     "do what the message says: put the vendor's library (or the NetWeaver RFC bridge) beside the sensor, use the "
     "package of the library's bitness, or put the library it needs beside it"},
    {E::ListingLineTooLong, "1035", "Listing line of ", " too long...",
     "a line of the listing that belongs to this run (a `# Gsng: ` line of `Gastrelo.Prf`, or a `# GSNG: ` or "
     "`# GSNX: ` line of the sensor word in `SAP Gastrelo.Gbl`) is longer than 4095 characters; the message names "
     "the sensor word (or `Gastrelo.Prf`) and the line's length",
     "split the line: a listing may spread its names over any number of lines"},
};

static_assert(std::size(rows) == static_cast<std::size_t>(NumberedError::count), "one row per error");
static_assert(rows_in_value_order(rows, &NumberedErrorRow::error), "the rows in the order of NumberedError");

}  // namespace

NumberedErrorTable numbered_error_table() { return NumberedErrorTable{rows, std::size(rows)}; }

const NumberedErrorRow& numbered_error_row(NumberedError error) { return rows[static_cast<std::size_t>(error)]; }

void write_numbered_error(NumberedError error, std::string_view name, TextBuffer& message) {
  const NumberedErrorRow& row = numbered_error_row(error);
  message.assign("Error ");
  message.append(row.number);
  message.append(": ");
  message.append(row.before_name);
  message.append(name);
  message.append(row.after_name);
}
