#include "plotlib/core/LayerText.h"

#include "plotlib/core/DataText.h"

#include <algorithm>
#include <charconv>

namespace mirla {

namespace {

constexpr std::string_view Blanks = " \t";
constexpr std::size_t MaxNameLength = 255;

} // namespace

TLayerTextReader::TLayerTextReader(std::string_view text) : m_text(text) {}

bool TLayerTextReader::AtEnd() {
    while (m_position < m_text.size()) {
        const std::size_t end = std::min(m_text.find_first_of("\r\n", m_position), m_text.size());
        if (!TrimBlanks(m_text.substr(m_position, end - m_position)).empty())
            return false;
        Line();
    }
    return true;
}

std::string TLayerTextReader::Line() {
    if (m_position >= m_text.size()) {
        ++m_line;
        Fail("the file ends too early");
    }
    const std::size_t end = std::min(m_text.find_first_of("\r\n", m_position), m_text.size());
    const std::string_view line = m_text.substr(m_position, end - m_position);
    m_position = end + (m_text.substr(end).starts_with("\r\n") ? 2 : 1);
    ++m_line;
    return std::string(line);
}

long long TLayerTextReader::IntegerOf(std::string_view text) const {
    text = TrimBlanks(text);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        Fail("\"" + std::string(text) + "\" is not a whole number");
    return value;
}

double TLayerTextReader::NumberOf(std::string_view text) const {
    const std::optional<double> value = ReadDataNumber(text);
    if (!value)
        Fail("\"" + std::string(TrimBlanks(text)) + "\" is not a number");
    return *value;
}

int TLayerTextReader::BoundedOf(std::string_view text, long long lo, long long hi, const char* what) const {
    const long long value = IntegerOf(text);
    if (value < lo || value > hi)
        Fail(std::string(what) + " " + std::to_string(value) + " is out of range");
    return static_cast<int>(value);
}

long long TLayerTextReader::Integer() {
    return IntegerOf(Line());
}

double TLayerTextReader::Number() {
    return NumberOf(Line());
}

std::vector<std::string> TLayerTextReader::Fields(std::size_t count, bool restIsText) {
    const std::string line = Line();
    std::string_view rest = line;
    std::vector<std::string> fields;
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t start = rest.find_first_not_of(Blanks);
        rest = start == std::string_view::npos ? std::string_view() : rest.substr(start);
        if (restIsText && k + 1 == count) {
            fields.emplace_back(TrimBlanks(rest));
            break;
        }
        if (rest.empty())
            Fail("the line holds " + std::to_string(k) + " values, " + std::to_string(count) + " are needed");
        const std::size_t end = std::min(rest.find_first_of(Blanks), rest.size());
        fields.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    return fields;
}

void TLayerTextReader::Fail(const std::string& message) const {
    throw TLayerTextError(m_line, message);
}

std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string FlagText(bool on) {
    return on ? "1" : "0";
}

void WriteLayerHeader(std::string& out, const TLayerHeader& header) {
    const auto flag = FlagText;
    out += header.ClassName + '\n';
    out += std::to_string(header.Color) + ' ' + flag(header.Visible) + ' ' + std::to_string(header.Option) +
           ' ' + flag(header.Flag) + ' ' + ExactNumberText(header.Parameter) + ' ' + flag(header.Selected) +
           ' ' + OneLine(header.Name.substr(0, MaxNameLength)) + '\n';
    out += header.ClassName + '\n';
}

TLayerHeader ReadLayerHeader(TLayerTextReader& reader) {
    TLayerHeader header;
    header.ClassName = TrimBlanks(reader.Line());
    const std::vector<std::string> fields = reader.Fields(7, true);
    header.Color = static_cast<TColor>(reader.IntegerOf(fields[0]));
    header.Visible = reader.IntegerOf(fields[1]) == 1;
    header.Option = static_cast<int>(reader.IntegerOf(fields[2]));
    header.Flag = reader.IntegerOf(fields[3]) == 1;
    header.Parameter = reader.NumberOf(fields[4]);
    header.Selected = reader.IntegerOf(fields[5]) == 1;
    header.Name = fields[6].substr(0, MaxNameLength);
    return header;
}

void CheckLayerClass(TLayerTextReader& reader, std::string_view className) {
    const std::string closing(TrimBlanks(reader.Line()));
    if (closing != className)
        reader.Fail("the layer of class " + std::string(className) + " is closed by \"" + closing + "\"");
}

} // namespace mirla
