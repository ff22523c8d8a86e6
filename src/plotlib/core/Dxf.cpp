#include "plotlib/core/Dxf.h"

#include "plotlib/core/DataText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace mirla {

namespace {

/// The layer every drawing has and the colour the layer table gives the plot's layers (white,
/// shown black on a light background).
constexpr std::string_view BaseLayer = "0";
constexpr int LayerTableColor = 7;

std::string FourDecimals(double value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.4f", value);
    return buffer;
}

std::string ColorField(TColor color) {
    return "     " + std::to_string(DxfColor(color));
}

/// Appends one group: its code line and its value line.
void Group(std::string& out, std::string_view code, std::string_view value) {
    out.append(code).append(1, '\n').append(value).append(1, '\n');
}

} // namespace

int DxfColor(TColor color) {
    switch (color) {
    case clBlack:
    case -1:
        return 0;
    case clMaroon:
    case clRed:
        return 1;
    case clOlive:
    case clYellow:
        return 2;
    case clGreen:
    case clLime:
        return 3;
    case clTeal:
    case clAqua:
        return 4;
    case clNavy:
    case clBlue:
        return 5;
    case clPurple:
    case clFuchsia:
        return 6;
    case clWhite:
        return 7;
    default:
        return 8;
    }
}

std::string DxfLayerName(std::string_view name) {
    std::string layer(name);
    for (char& c : layer)
        c = c == ' ' || c == '/' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return layer;
}

void TDXF::Put(std::string_view value) {
    m_text.append(value).append(1, '\n');
}

void TDXF::PutCoordinate(double value) {
    Put(FourDecimals(value));
}

void TDXF::Entity(std::string_view code, std::string_view kind, std::string_view layer, TColor color) {
    std::string name = DxfLayerName(layer);
    if (name.empty())
        name = BaseLayer;
    if (std::find(m_layers.begin(), m_layers.end(), name) == m_layers.end())
        m_layers.push_back(name);
    // Group codes are right-aligned in three columns for the solid, as readers of both forms accept.
    const bool aligned = code.size() > 1;
    Put(code);
    Put(kind);
    Put(aligned ? "  8" : "8");
    Put(name);
    Put(" 62");
    Put(ColorField(color));
}

void TDXF::Include(double x, double y) {
    m_minX = m_any ? std::min(m_minX, x) : x;
    m_minY = m_any ? std::min(m_minY, y) : y;
    m_maxX = m_any ? std::max(m_maxX, x) : x;
    m_maxY = m_any ? std::max(m_maxY, y) : y;
    m_any = true;
}

void TDXF::Line(std::string_view layer, TColor color, double x1, double y1, double x2, double y2) {
    if (!Active)
        return;
    Include(x1, y1);
    Include(x2, y2);
    switch (Mode) {
    case 0:
        Put("LINE,1");
        Put(FourDecimals(x1) + ',' + FourDecimals(y1) + ',' + FourDecimals(x2) + ',' + FourDecimals(y2));
        return;
    case 3:
        Put("10");
        Put(FourDecimals(x1) + ',' + FourDecimals(y1));
        Put(FourDecimals(x2) + ',' + FourDecimals(y2));
        Put("END");
        return;
    default:
        Entity("0", "LINE", layer, color);
        for (const auto& [code, value] :
             {std::pair("10", x1), {"20", y1}, {"30", 0.0}, {"11", x2}, {"21", y2}, {"31", 0.0}}) {
            if (Mode == 2 || code[0] != '3') {
                Put(code);
                PutCoordinate(value);
            }
        }
    }
}

void TDXF::FilledRect(std::string_view layer, TColor color, double a, double b, double c, double d) {
    if (!Active || (Mode != 1 && Mode != 2))
        return;
    Include(a, b);
    Include(c, d);
    Entity("  0", "SOLID", layer, color);
    for (const auto& [code, value] : {std::pair(" 10", a),
                                      {" 20", d},
                                      {" 11", a},
                                      {" 21", b},
                                      {" 12", c},
                                      {" 22", d},
                                      {" 13", c},
                                      {" 23", b}}) {
        Put(code);
        Put(DataNumberText(value));
    }
}

void TDXF::Circle(std::string_view layer, TColor color, double x, double y, double radius) {
    if (!Active || (Mode != 1 && Mode != 2))
        return;
    Include(x - radius, y - radius);
    Include(x + radius, y + radius);
    Entity("0", "CIRCLE", layer, color);
    for (const auto& [code, value] : {std::pair("10", x), {"20", y}, {"30", 0.0}, {"40", radius}}) {
        if (Mode == 2 || code[0] != '3') {
            Put(code);
            PutCoordinate(value);
        }
    }
}

std::string DxfDocument(const TDXF& dxf) {
    std::string out;
    Group(out, "0", "SECTION");
    Group(out, "2", "HEADER");
    Group(out, "9", "$ACADVER");
    Group(out, "1", "AC1009");
    Group(out, "9", "$EXTMIN");
    Group(out, "10", FourDecimals(dxf.MinX()));
    Group(out, "20", FourDecimals(dxf.MinY()));
    Group(out, "9", "$EXTMAX");
    Group(out, "10", FourDecimals(dxf.MaxX()));
    Group(out, "20", FourDecimals(dxf.MaxY()));
    Group(out, "0", "ENDSEC");

    Group(out, "0", "SECTION");
    Group(out, "2", "TABLES");
    Group(out, "0", "TABLE");
    Group(out, "2", "LTYPE");
    Group(out, "70", "1");
    Group(out, "0", "LTYPE");
    Group(out, "2", "CONTINUOUS");
    Group(out, "70", "0");
    Group(out, "3", "Solid line");
    Group(out, "72", "65");
    Group(out, "73", "0");
    Group(out, "40", "0.0");
    Group(out, "0", "ENDTAB");
    std::vector<std::string> layers = dxf.Layers();
    if (std::find(layers.begin(), layers.end(), BaseLayer) == layers.end())
        layers.insert(layers.begin(), std::string(BaseLayer));
    Group(out, "0", "TABLE");
    Group(out, "2", "LAYER");
    Group(out, "70", std::to_string(layers.size()));
    for (const std::string& layer : layers) {
        Group(out, "0", "LAYER");
        Group(out, "2", layer);
        Group(out, "70", "0");
        Group(out, "62", std::to_string(LayerTableColor));
        Group(out, "6", "CONTINUOUS");
    }
    Group(out, "0", "ENDTAB");
    Group(out, "0", "ENDSEC");

    Group(out, "0", "SECTION");
    Group(out, "2", "ENTITIES");
    out += dxf.Text();
    Group(out, "0", "ENDSEC");
    out += "0\nEOF\n";
    return out;
}

} // namespace mirla
