#pragma once
// The start of a recording as the files list sorts by it: the clock of the profile record that
// begins the data of a file of the standard layout, at byte 784.

#include <string>

namespace sulvan {

// The date-time of that clock; 0 when the file cannot be read, is shorter than 804 bytes, does
// not start a 0x20 or 0x21 record at 784, or its clock forms no valid time.
double ReadStartTime(const std::string& strPath);

}  // namespace sulvan
