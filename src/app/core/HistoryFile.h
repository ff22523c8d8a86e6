#pragma once

#include <string>
#include <vector>

namespace mirla {

/// The input lines and results of the main window, newest first, as kept in the history file:
/// a count, the history lines, a count, the result lines. Lines are engine text.
struct THistory {
    std::vector<std::string> Inputs;
    std::vector<std::string> Results;
};

/// Reads a history file; false when it cannot be opened or does not begin with a count (then
/// `history` is unchanged). Counts larger than the lines that follow take what is there; a
/// missing or unreadable result count gives no results. Lines are cut to 255 characters.
bool ReadHistoryFile(const std::string& path, THistory& history);
/// Reads the history file at `path` for the window, the file read once. Returns why the file
/// holds something that cannot be read as a history (then `history` is unchanged and writing
/// over the file would lose it), or an empty text: the file was read, or there was nothing to
/// read (no file, an empty or blank one).
std::string LoadHistoryFile(const std::string& path, THistory& history);
/// Writes a history file through a temporary file renamed over the old one.
bool WriteHistoryFile(const std::string& path, const THistory& history);

} // namespace mirla
