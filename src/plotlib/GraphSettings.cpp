#include "plotlib/GraphSettings.h"

#include "plotlib/Graph.h"
#include "runtime/IniKeys.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace mirla {

namespace {

/// The letters of the font styles in the settings files.
constexpr std::pair<char, TFontStyleFlag> StyleLetters[] = {
    {'B', fsBold}, {'I', fsItalic}, {'U', fsUnderline}, {'S', fsStrikeOut}};

constexpr TColor LargestColor = 0xFFFFFF;
/// More user labels than this in a file means the count is damaged.
constexpr int MaxUserLabels = 1000;

/// The shortest text that reads back as the same double.
std::string DoubleText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<double> ParseDouble(std::string_view text) {
    text = Trimmed(text);
    if (text.size() > 1 && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

/// Reads a double written with a decimal comma as well as with a point; nothing for any other text.
std::optional<double> ReadDoubleText(std::string text) {
    if (const auto value = ParseDouble(text)) {
        return value;
    }
    std::ranges::replace(text, ',', '.');
    return ParseDouble(text);
}

/// Writes every key it is shown, with the value kinds of a graph besides the plain ones.
class TKeyWriter : public TIniKeyWriter {
public:
    using TIniKeyWriter::TIniKeyWriter;
    using TIniKeyWriter::Value;

    void Value(const std::string& key, const double& value) {
        m_ini.WriteString(m_section, key, DoubleText(value));
    }
    /// A value whose change goes through a setter.
    template <class T, class Setter> void Property(const std::string& key, T value, Setter) {
        Value(key, value);
    }

    void Font(const std::string& prefix, const TFontSpec& font) {
        Value(prefix + "Font_Name", font.Name);
        m_ini.WriteInteger(m_section, prefix + "Font_Size", font.Size);
        m_ini.WriteInteger(m_section, prefix + "Font_Color", font.Color);
        m_ini.WriteInteger(m_section, prefix + "Font_CharSet", font.CharSet);
        Value(prefix + "Font_Style", FontStyleText(font.Style));
    }
    void Labels(const std::string& prefix, const std::vector<TUserLabel>& labels) {
        m_ini.WriteInteger(m_section, prefix + "_LabelCount", static_cast<int>(labels.size()));
        for (std::size_t i = 0; i < labels.size(); ++i) {
            Value(prefix + "_LabelLegend" + std::to_string(i), labels[i].Text);
            Value(prefix + "_LabelValue" + std::to_string(i), labels[i].Value);
        }
    }
};

/// Reads every key it is shown, with the value kinds of a graph besides the plain ones.
class TKeyReader : public TIniKeyReader {
public:
    using TIniKeyReader::TIniKeyReader;
    using TIniKeyReader::Value;

    void Value(const std::string& key, double& value) { Read(key, value); }
    /// Calls `set` only when the key holds a readable value, so setters with side effects run only
    /// for what the file says.
    template <class T, class Setter> void Property(const std::string& key, T value, Setter set) {
        if (Read(key, value)) {
            set(value);
        }
    }

    void Font(const std::string& prefix, TFontSpec& font) {
        Value(prefix + "Font_Name", font.Name);
        Value(prefix + "Font_Size", font.Size, 1, 999);
        Value(prefix + "Font_Color", font.Color, -1, LargestColor);
        Value(prefix + "Font_CharSet", font.CharSet, 0, 255);
        // "T" stands for a key that is missing: the style stays as it is.
        const std::string style = m_ini.ReadString(m_section, prefix + "Font_Style", "T");
        if (style != "T") {
            font.Style = FontStyleOfText(style);
        }
    }
    void Labels(const std::string& prefix, std::vector<TUserLabel>& labels) {
        const auto count = Integer(prefix + "_LabelCount");
        if (!count || *count < 0 || *count > MaxUserLabels) {
            return;
        }
        labels.resize(*count);
        for (int i = 0; i < *count; ++i) {
            Value(prefix + "_LabelLegend" + std::to_string(i), labels[i].Text);
            Value(prefix + "_LabelValue" + std::to_string(i), labels[i].Value);
        }
    }

private:
    using TIniKeyReader::Read;
    bool Read(const std::string& key, double& value) const {
        const auto text = Text(key);
        const auto read = text ? ReadDoubleText(*text) : std::nullopt;
        if (read) {
            value = *read;
        }
        return read.has_value();
    }
};

template <class Keys> void Colour(Keys& keys, const std::string& key, TColor& color) {
    keys.Value(key, color, -1, LargestColor);
}

template <class Keys> void AxisKeys(Keys& keys, TAxis& axis) {
    const std::string p = "Plot_" + axis.ComponentName();
    keys.Value(p + "_Name", axis.Name);
    keys.Property(p + "_Minimum", axis.StoreLimits ? axis.Minimum() : MissingValue,
                  [&](double v) { axis.SetMin(v); });
    keys.Property(p + "_Maximum", axis.StoreLimits ? axis.Maximum() : MissingValue,
                  [&](double v) { axis.SetMax(v); });
    Colour(keys, p + "_Color", axis.Color);
    keys.Value(p + "_Grid", axis.Grid);
    Colour(keys, p + "_GridColor", axis.GridColor);
    keys.Value(p + "_Visible", axis.Visible);
    keys.Value(p + "_AutoMin", axis.AutoMin);
    keys.Value(p + "_AutoMax", axis.AutoMax);
    keys.Property(p + "_Log", axis.Log(), [&](bool v) { axis.SetLog(v); });
    keys.Value(p + "_Invert", axis.Invert);
    keys.Value(p + "_RegularLabelsVisible", axis.RegularLabelsVisible);
    keys.Labels(p, axis.UserLabels);
    keys.Font(p + "_Label_", axis.Font);
    keys.Font(p + "_Name_", axis.NameFont);
    keys.Enum(p + "_Ticks_Direction", axis.Ticks.Direction, tdIN);
    keys.Value(p + "_Ticks_MajorLength", axis.Ticks.MajorLength, 0, 100);
    keys.Value(p + "_Ticks_MinorLength", axis.Ticks.MinorLength, 0, 100);
    keys.Value(p + "_Ticks_MajorVisible", axis.Ticks.MajorVisible);
    keys.Value(p + "_Ticks_MinorVisible", axis.Ticks.MinorVisible);
}

template <class Keys> void TitleKeys(Keys& keys, const std::string& name, TGraphTitle& title) {
    const std::string p = "Plot_" + name;
    keys.Value(p + "_Text", title.Text);
    keys.Enum(p + "_Style", title.Style, tsRaised);
    keys.Enum(p + "_Alignment", title.Alignment, taCenter);
    keys.Value(p + "_Visible", title.Visible);
    keys.Font(p + "_", title.Font);
}

template <class Keys> void LegendKeys(Keys& keys, const std::string& p, TAbstractLegend& legend) {
    keys.Enum(p + "Style", legend.Style, lsInside);
    Colour(keys, p + "Color", legend.BackColor);
    Colour(keys, p + "ShadowColor", legend.ShadowColor);
    keys.Value(p + "ShadowThickness", legend.ShadowThickness, 0, 100);
    keys.Value(p + "ShadowVisible", legend.ShadowVisible);
    Colour(keys, p + "FrameColor", legend.FrameColor);
    keys.Value(p + "FrameThickness", legend.FrameThickness, 0, 100);
    keys.Enum(p + "FrameStyle", legend.FrameStyle, psClear);
    keys.Value(p + "FrameVisible", legend.FrameVisible);
    keys.Property(p + "Visible", legend.Visible(), [&](bool v) { legend.SetVisible(v); });
    keys.Value(p + "TransparentBackGround", legend.TransparentBackGround);
}

/// Every key after "Plot_Saved", in the order of the file.
template <class Keys> void GraphKeys(Keys& keys, TGraph& graph) {
    Colour(keys, "Plot_Color", graph.Color);
    Colour(keys, "Plot_BackColor", graph.BackColor);
    keys.Value("Plot_Exaggerate", graph.Exaggerate);
    keys.Value("Plot_ClipMarkers", graph.ClipMarkers);
    keys.Property("Plot_View3D", graph.View3D(), [&](double v) { graph.SetView3D(v); });
    keys.Value("Plot_MinLogVAlue", graph.MinimumLogValue);
    AxisKeys(keys, graph.XAxis());
    AxisKeys(keys, graph.YAxis());
    TitleKeys(keys, "Title", graph.Title);
    TitleKeys(keys, "Foot", graph.Foot);

    TGraphGradient& gradient = graph.Gradient;
    keys.Enum("Plot_Gradient_Style", gradient.Style, gsTopBottom);
    Colour(keys, "Plot_Gradient_StartColor", gradient.StartColor);
    Colour(keys, "Plot_Gradient_EndColor", gradient.EndColor);
    keys.Value("Plot_Gradient_Visible", gradient.Visible);

    TZoom& zoom = graph.Zoom();
    keys.Enum("Plot_Zoom_Style", zoom.Style, zsOut);
    keys.Value("Plot_Zoom_ZoomAutoStop", zoom.ZoomAutoStop);
    keys.Value("Plot_Zoom_Steps", zoom.Steps, 1, 1000);
    Colour(keys, "Plot_Zoom_Color", zoom.Color);

    TGraphInfo& info = graph.Info;
    keys.Enum("Plot_Info_Style", info.Style, isNoBubble);
    keys.Enum("Plot_Info_Position", info.Position, ipLeftBottom);
    Colour(keys, "Plot_Info_Color", info.Color);
    keys.Value("Plot_Info_Visible", info.Visible);
    keys.Font("Plot_Info_", info.Font);

    LegendKeys(keys, "Plot_Legend_", graph.Legend());
    LegendKeys(keys, "Plot_Color_Legend_", graph.ColorLegend());

    TGraphPicture& picture = graph.Picture;
    keys.Enum("Plot_Picture_Style", picture.Style, psAsIsInside);
    Colour(keys, "Plot_Picture_Color", picture.Color);
    keys.Value("Plot_Picture_Visible", picture.Visible);

    TGraphFrame& frame = graph.Frame;
    keys.Value("Plot_Frame_Style", frame.Style, 0, 1);
    Colour(keys, "Plot_Frame_Color", frame.Color);
    keys.Value("Plot_Frame_Width", frame.Width, 0, 100);
    keys.Value("Plot_Frame_Visible", frame.Visible);
}

} // namespace

std::string FontStyleText(unsigned style) {
    std::string text;
    for (const auto& [letter, flag] : StyleLetters) {
        if (style & flag) {
            text += letter;
        }
    }
    return text;
}

unsigned FontStyleOfText(const std::string& text) {
    unsigned style = 0;
    for (const auto& [letter, flag] : StyleLetters) {
        if (std::ranges::any_of(
                text, [&](char c) { return std::toupper(static_cast<unsigned char>(c)) == letter; })) {
            style |= flag;
        }
    }
    return style;
}

void SaveGraphSettings(const TGraph& graph, TIniFile& ini, const std::string& section) {
    TKeyWriter keys(ini, section);
    keys.Value("Plot_Saved", std::string("Yes"));
    // One key list serves both directions and so binds the fields by reference; the writer only reads.
    GraphKeys(keys, const_cast<TGraph&>(graph));
}

bool LoadGraphSettings(TGraph& graph, const TIniFile& ini, const std::string& section) {
    if (ini.ReadString(section, "Plot_Saved", "No") == "No") {
        return false;
    }
    TKeyReader keys(ini, section);
    GraphKeys(keys, graph);
    return true;
}

} // namespace mirla
