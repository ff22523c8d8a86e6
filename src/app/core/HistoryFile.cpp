#include "app/core/HistoryFile.h"

#include "engine/EngineText.h"
#include "runtime/FileBytes.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>

namespace mirla {

namespace {

constexpr std::size_t MaxLineLength = 255;

std::optional<std::size_t> ReadCount(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    line = line.substr(first, line.find_last_not_of(' ') - first + 1);
    std::size_t count = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), count);
    if (ec != std::errc() || end != line.data() + line.size()) {
        return std::nullopt;
    }
    return count;
}

/// Takes up to `count` lines from `next` on, each cut to the longest line kept.
std::vector<std::string> TakeLines(const std::vector<std::string>& lines, std::size_t& next,
                                   std::size_t count) {
    const std::size_t end = next + std::min(count, lines.size() - next);
    std::vector<std::string> taken;
    taken.reserve(end - next);
    for (; next < end; ++next) {
        taken.push_back(lines[next].substr(0, MaxLineLength));
    }
    return taken;
}

/// An entry must stay one line of the file, or the counts would no longer match the lines.
std::string OneLine(std::string entry) {
    std::ranges::replace(entry, '\r', ' ');
    std::ranges::replace(entry, '\n', ' ');
    return entry;
}

void AppendList(std::vector<std::string>& lines, const std::vector<std::string>& entries) {
    lines.push_back(std::to_string(entries.size()));
    for (const std::string& entry : entries) {
        lines.push_back(OneLine(entry));
    }
}

/// The history the lines of a history file hold; false when they do not begin with a count (then
/// `history` is unchanged).
bool ParseHistory(const std::vector<std::string>& lines, THistory& history) {
    const std::optional<std::size_t> inputCount = lines.empty() ? std::nullopt : ReadCount(lines[0]);
    if (!inputCount) {
        return false;
    }
    std::size_t next = 1;
    THistory read;
    read.Inputs = TakeLines(lines, next, *inputCount);
    if (next < lines.size()) {
        const std::optional<std::size_t> resultCount = ReadCount(lines[next++]);
        read.Results = TakeLines(lines, next, resultCount.value_or(0));
    }
    history = std::move(read);
    return true;
}

} // namespace

bool ReadHistoryFile(const std::string& path, THistory& history) {
    std::vector<std::string> lines;
    return ReadEngineTextLines(path, lines) && ParseHistory(lines, history);
}

std::string LoadHistoryFile(const std::string& path, THistory& history) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        return {};
    }
    std::string bytes;
    std::string reason;
    if (!ReadTextFileBytes(path, bytes, &reason)) {
        return reason;
    }
    const std::vector<std::string> lines = EngineTextLinesFromFileBytes(bytes);
    const bool blank = std::ranges::all_of(
        lines, [](const std::string& line) { return line.find_first_not_of(" \t\r") == std::string::npos; });
    if (!blank && !ParseHistory(lines, history)) {
        return "it does not begin with the number of its lines";
    }
    return {};
}

bool WriteHistoryFile(const std::string& path, const THistory& history) {
    std::vector<std::string> lines;
    lines.reserve(history.Inputs.size() + history.Results.size() + 2);
    AppendList(lines, history.Inputs);
    AppendList(lines, history.Results);
    return WriteEngineTextLines(path, lines);
}

} // namespace mirla
