#pragma once
// The library's five identification texts. They are the procedure unit's
// process-wide values of these names and the initial contents of the shared
// identification object (TKvInfo). Plain character constants, so they are
// usable during static initialisation of any file.

inline constexpr char pName[] = "KV Instrument Components";
inline constexpr char pVersion[] = "1.0";
inline constexpr char Copyright[] = "Copyright (c) 2024 The KV Instrument Components authors";
inline constexpr char Mail[] = "info@example.org";
inline constexpr char WWW[] = "https://www.example.org/kv-components";
