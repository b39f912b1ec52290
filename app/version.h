#pragma once

// The program's version: the project version of the build, which also
// stamps the language bundles' version records.

#ifdef KALEIDRA_VERSION
inline constexpr char kProgramVersion[] = KALEIDRA_VERSION;
#else
// The build does not pass the version yet: keep this equal to the project
// version of the top CMakeLists.txt (a test compares it with the bundle's).
inline constexpr char kProgramVersion[] = "0.1.0";
#endif

// The program's file name, as the About box lists it.
inline constexpr char kProgramFileName[] = "kaleidra";
