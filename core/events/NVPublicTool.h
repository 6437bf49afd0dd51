// Operating-system version comparison.
#pragma once

#include <string>

enum NVComparisonResult : int {
    NVOrderedAscending = -1,
    NVOrderedSame = 0,
    NVOrderedDescending = 1,
};

class NVPublicTool {
public:
    // The running kernel's major, minor and patch numbers printed one after another
    // ("6.1.0-18-amd64" gives "610"), compared with version as text.
    static NVComparisonResult compareVersionWithVersion(const std::string& version);
    // The same with the release string given ("%ld%ld%ld" of its first three numbers).
    static std::string systemVersionString(const std::string& release);
    static std::string systemVersionString();
};
