// Everything one run of the sensor knows, in one record.
//
// A run is one process, so there is exactly one of these; it is passed
// explicitly to every step so that the steps can be tested one by one.
#pragma once

#include <cstdio>

#include "common/bounded_text.h"
#include "config/system_entry.h"
#include "output/output_target.h"
#include "platform/files.h"
#include "rfc/rfc_records.h"

/// Outcome of the last measurement, as the driver judges it.
enum class RunStatus { ERR, OK };

/// How an item-mode run names each listed system's channel.
enum class KeyKind { Profile, Alias, Host, Sid };

struct RunState {
  // --- driver ---
  /// The banner from start-up on; each console line is built here before it is printed.
  BoundedText<255> status_line;
  /// Local time of day at start-up, "HH:MM:SS".
  BoundedText<8> start_time;
  bool console_mode = false;
  /// Result code of the last measurement.
  int run_result = 0;
  /// Argument 0, as the process received it.
  const char* program_path = "";
  /// Where the run prints; standard output except in tests.
  std::FILE* out = stdout;

  // --- options ---
  /// The option words as typed, joined by one blank.
  BoundedText<127> given_options;
  /// `given_options` with a to z in upper case; every keyword is searched here.
  BoundedText<127> run_options;
  /// Argument 2 as typed: the sensor word that messages name.
  BoundedText<127> first_option_word;

  // --- result document ---
  /// The document (or error message) the driver prints; 4096 bytes with the NUL.
  BoundedText<4095> result_text;
  OutputTarget output_target = OutputTarget::EXEXML;
  /// Channels written in this process, dropped ones included.
  unsigned channel_count = 0;
  /// Trace line stream; never opened, so trace lines go nowhere.
  std::FILE* log_stream = nullptr;

  // --- configuration files ---
  BoundedText<63> profile_file_name;
  /// Empty for the working directory, otherwise ending in a backslash.
  BoundedText<95> sensor_directory;
  BoundedText<159> profile_path;
  bool item_mode = false;
  SystemEntry system_entry;
  /// The profile `open_profile` opened, until it is read or closed.
  std::FILE* profile_file = nullptr;
  /// How configuration files are opened; tests replace it.
  FileOpener open_for_reading = open_file_for_reading;

  // --- item-mode run ---
  /// Profile file names, each ended by "#".
  BoundedText<2047> server_listing;
  BoundedText<90> item_name;
  KeyKind key_kind = KeyKind::Profile;
  unsigned systems_count = 0;
  unsigned processed_count = 0;
  unsigned failed_count = 0;

  // --- measurement ---
  RunStatus run_status = RunStatus::ERR;
  /// 'X' once the current listed system was measured, '.' before.
  char item_measured = '.';
  /// The channel name of the current listed system.
  BoundedText<63> sensor_channel_key;

  // --- RFC connection ---
  rfc_handle connection_handle = RFC_NULL_HANDLE;
  RfcRecords rfc;
};
