// The item-mode run: one value measured on every system of a listing.
#pragma once

struct RunState;

/// Reads the listing, measures the item on each listed system, prints one
/// channel per system and the summary; ends the process with code 0.
[[noreturn]] void run_item_mode(RunState& state);
