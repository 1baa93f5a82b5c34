#pragma once
// Texts the volume subsystem shows, in one place so tests compare against the same strings.

namespace sulcan::msg {

inline constexpr const char* kOutOfMemoryTerminate =
    "Error - out of memory. Application must terminate";
inline constexpr const char* kGrayFunctionsUnavailable =
    "Gray matter functions not available!\n(Probably due to a lack of memory)";
inline constexpr const char* kCursorStatusFormat = "XYZ(BGR)=(%03d,%03d,%03d)";
inline constexpr const char* kVoiStatusFormat = "VOI: (%03d,%03d,%03d)-(%03d,%03d,%03d)";

// Anatomy file
inline constexpr const char* kAnatomyFilter =
    "Volume Anatomy Files (*.dat, *.*)|*.dat;*.*||";
inline constexpr const char* kAnatomyDefaultName = "vAnatomy.dat";
inline constexpr const char* kAnatomyDimensionsOutOfRange =
    "Error: Volume anatomy dimensions fall outside allowable range\n"
    "Allowable range is 1x1x1 to 1023x1023x1023\n";

// Classification file
inline constexpr const char* kClassFilter =
    "Classification Volume Files (*.class, *.*)|*.class;*.*||";

}  // namespace sulcan::msg
