// The item-mode run: one value measured on every system of a listing.
#pragma once

struct RunState;

/// Reads the listing, measures the item on each listed system, prints one
/// channel per system and the summary; returns the exit code the run ends
/// with: 0 once the summary is printed.
int run_item_mode(RunState& state);
