#pragma once
// The procedure unit's process-wide values: where the program lives, where
// the library is installed, and which registry root and path the library
// keeps its data under.
//
// The unit "_kvproc" sets them once at start-up (TUnitsInitialization in
// main(), or on first use through the accessors below) and clears them when
// the unit is finalised; in between they do not change:
//  - AppPath: the folder of the running executable, with a trailing "/";
//  - KvkRoot: the string value "RootDir" of the key "SOFTWARE\Kavel VCL\"
//    under KavelRootKey, opened read-only; empty when the key or the value is
//    missing or cannot be opened. A value of another type than text makes the
//    start-up fail with "Invalid data type for 'RootDir'";
//  - VCLRoot: KvkRoot followed by "\CB6", whatever KvkRoot is.

#include <QString>

#include "kv/core/unit_init.h"
#include "platform/storage/registry.h"

inline constexpr HKEY KavelRootKey = HKEY_LOCAL_MACHINE;
// The key under which each window class keeps its values (trailing backslash).
inline constexpr const char KavelKeyPath[] = "SOFTWARE\\Kavel VCL\\Data\\";
// The key holding the library's installation folder as "RootDir".
inline constexpr const char KavelRootPath[] = "SOFTWARE\\Kavel VCL\\";

const QString& AppPath();
const QString& KvkRoot();
const QString& VCLRoot();

// The unit that sets the values above and clears them again.
TUnit& KvprocUnit();
