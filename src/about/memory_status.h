#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two memory figures of the About dialog, read from the operating system.
namespace about {

struct MemoryStatus {
    std::uint64_t totalBytes = 0; // physical memory
    int loadPercent = 0;          // share of it in use, 0 to 100
    bool operator==(const MemoryStatus&) const = default;
};

// Parses the text of Linux's /proc/meminfo: MemTotal, and MemAvailable (MemFree where an old kernel
// lacks it), both in KiB. The load is the used share, (total - available) / total, rounded to a
// whole percent. Nothing when MemTotal is missing or zero.
std::optional<MemoryStatus> parseMeminfo(std::string_view text);

// Asks the system at each call: /proc/meminfo on Linux, GlobalMemoryStatusEx on Windows. Nothing
// when the system does not tell.
std::optional<MemoryStatus> readSystemMemory();

// The total in KiB with a comma between groups of three digits and " KB" after it, rounded to a
// whole number with halves up: 1,073,741,824 bytes give "1,048,576 KB", and 0 gives "0 KB".
std::string formatPhysicalMemory(std::uint64_t totalBytes);
// "37 %".
std::string formatMemoryLoad(int percent);

} // namespace about
