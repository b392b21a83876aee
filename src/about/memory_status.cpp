#include "memory_status.h"

#include <charconv>
#include <fstream>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace about {

namespace {

// The value of a "Name:   12345 kB" line, in KiB.
std::optional<std::uint64_t> meminfoValue(std::string_view text, std::string_view name) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name || line[name.size()] != ':') {
            continue;
        }
        line.remove_prefix(name.size() + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        std::uint64_t value = 0;
        const auto result = std::from_chars(line.data(), line.data() + line.size(), value);
        if (result.ec != std::errc() || result.ptr == line.data()) {
            return std::nullopt;
        }
        return value;
    }
    return std::nullopt;
}

} // namespace

std::optional<MemoryStatus> parseMeminfo(std::string_view text) {
    const auto total = meminfoValue(text, "MemTotal");
    if (!total || *total == 0) {
        return std::nullopt;
    }
    auto available = meminfoValue(text, "MemAvailable");
    if (!available) {
        available = meminfoValue(text, "MemFree");
    }
    const std::uint64_t free = available ? std::min(*available, *total) : 0;
    const std::uint64_t used = *total - free;
    const auto load = static_cast<int>((used * 100 + *total / 2) / *total);
    return MemoryStatus{*total * 1024, load};
}

std::optional<MemoryStatus> readSystemMemory() {
#if defined(_WIN32)
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return std::nullopt;
    }
    return MemoryStatus{status.ullTotalPhys, static_cast<int>(status.dwMemoryLoad)};
#else
    std::ifstream file("/proc/meminfo");
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseMeminfo(text.str());
#endif
}

std::string formatPhysicalMemory(std::uint64_t totalBytes) {
    // Integer arithmetic: the division by 1024 is exact to the half, so no floating point is needed.
    const std::uint64_t kilobytes = totalBytes / 1024 + (totalBytes % 1024 >= 512 ? 1 : 0);
    const std::string digits = std::to_string(kilobytes);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped + " KB";
}

std::string formatMemoryLoad(int percent) {
    return std::to_string(percent) + " %";
}

} // namespace about
