// The texts our RFC libraries carry in their files, so that an administrator's
// tool can tell them from the vendor's library of the same name by reading
// the file, without loading it.
#pragma once

/// Carried by the NetWeaver RFC bridge.
inline constexpr char nwrfc_bridge_identity[] = "quenmarel NetWeaver RFC bridge";

/// Carried by the stand-in classic RFC library, a test double that talks only to rfcsim.
inline constexpr char standin_library_identity[] = "quenmarel stand-in RFC library for tests";
