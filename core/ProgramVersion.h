#pragma once

// The version text the run log and the system report carry.
inline constexpr char kProgramVersion[] = "Version 0.94 BUILD 9 (2005/11/04)";
