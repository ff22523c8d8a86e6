#pragma once

#include <string>

namespace mirla {

class TGraph;
class TIniFile;

/// The letters "B", "I", "U", "S" of the styles set in `style` (a combination of TFontStyleFlag).
std::string FontStyleText(unsigned style);
/// The styles whose letters `text` holds, in either case.
unsigned FontStyleOfText(const std::string& text);
/// Writes the graph's settings ("Plot_Saved" = "Yes" and every "Plot_" key) into `section`.
void SaveGraphSettings(const TGraph& graph, TIniFile& ini, const std::string& section);
/// Reads the settings back when "Plot_Saved" is not "No"; keys that are missing keep the current
/// values. Returns false (and changes nothing) when the section says nothing was saved.
bool LoadGraphSettings(TGraph& graph, const TIniFile& ini, const std::string& section);

} // namespace mirla
