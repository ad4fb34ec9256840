// What a trial run of the sensor was asked, and what its output says: the
// values it measured, or why it did not.
#pragma once

#include <string>
#include <vector>

#include "output/output_target.h"

/// A listed system of an item-mode run whose profile the run reads.
struct TrialSystem {
  std::string name;
  /// Its channel's name in the document.
  std::string channel;
};

/// What the typed words ask of the run, as the sensor reads them.
struct TrialRequest {
  OutputTarget target = OutputTarget::EXEXML;
  bool item_mode = false;
  /// A target that selects a channel by number, with "CH=": the run prints a bare value.
  bool selects_channel = false;
  /// In item mode, each listed system whose profile opens, in the listing's order.
  std::vector<TrialSystem> systems;
};

/// How the doctor judges a run that ended.
struct TrialVerdict {
  /// The run measured what it was asked.
  bool measured = false;
  /// The values, or what went wrong.
  std::string found;
  /// What to do when it did not measure.
  std::string remedy;
  /// Lines under the finding (the RFC library's error block).
  std::vector<std::string> details;
};

/// Reads the words (profile and options) as the sensor will, with the
/// installation's target file, listing and profiles in the working directory.
TrialRequest trial_request(const std::vector<std::string>& words);

/// Judges the run of `request` by its exit code and the form its target
/// gives the output: a document's text, an item-mode run's count line (a
/// failed system is an error, named), a bare value for "CH=", a status line's
/// message (its state in front when that is not OK).
TrialVerdict judge_trial(const TrialRequest& request, int exit_code, const std::string& output);
