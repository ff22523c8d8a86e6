#include "plotlib/PrintSettings.h"

#include "plotlib/GraphSettings.h"
#include "plotlib/Layer.h"
#include "runtime/IniKeys.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace mirla {

const std::array<const char*, TitleBlockCount> TitleBlockSections = {"System LOGO", "Owner LOGO",
                                                                     "Project LOGO", "Comment Logo"};

namespace {

constexpr const char* PrintSection = "Print";
/// More lines than this in a file means the count is damaged.
constexpr int MaxStoredLines = 100;
constexpr TColor LargestColor = 0xFFFFFF;

template <class Keys, class Margins> void MarginKeys(Keys& keys, Margins& margins) {
    keys.Value("Left", margins.Left, 0, LargestMargin);
    keys.Value("Right", margins.Right, 0, LargestMargin);
    keys.Value("Top", margins.Top, 0, LargestMargin);
    keys.Value("Bottom", margins.Bottom, 0, LargestMargin);
}

template <class Keys, class Logo, class Style> void LogoKeys(Keys& keys, Logo& logo, Style& style) {
    keys.Value("LogoImage", logo.ImageFile);
    keys.Value("FontName", logo.Font.Name);
    keys.Value("FontSize", logo.Font.Size, 1, 999);
    keys.Value("FontColor", logo.Font.Color, 0, LargestColor);
    keys.Value("FontStyle", style);
    keys.Enum("LinesJustify", logo.Justify, ljCenter);
}

std::vector<std::string> HostLines(const std::vector<std::string>& lines) {
    return {lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), MaxHostLines))};
}

Qt::Alignment LineAlignment(TLogoJustify justify) {
    switch (justify) {
    case ljRight:
        return Qt::AlignRight;
    case ljCenter:
        return Qt::AlignHCenter;
    case ljLeft:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

int PrintFrameWidth(int dotsPerInch) {
    return std::max(1, dotsPerInch / 75);
}

void TPrintLogo::SetImageFile(const std::string& path) {
    ImageFile = path;
    m_image = path.empty() ? QImage() : QImage(QString::fromStdString(path));
}

void TPrintLogo::Read(const TIniFile& ini) {
    TIniKeyReader keys(ini, Section);
    std::string style = FontStyleText(Font.Style);
    LogoKeys(keys, *this, style);
    Font.Style = FontStyleOfText(style);
    const int count = ini.ReadInteger(Section, "LogoLines", -1);
    if (count >= 0 && count <= MaxStoredLines) {
        Lines.assign(static_cast<std::size_t>(count), std::string());
        for (int i = 0; i < count; ++i) {
            keys.Value("LogoLine" + std::to_string(i), Lines[static_cast<std::size_t>(i)]);
        }
    }
    SetImageFile(std::string(ImageFile));
}

void TPrintLogo::Write(TIniFile& ini) const {
    TIniKeyWriter keys(ini, Section);
    std::string style = FontStyleText(Font.Style);
    LogoKeys(keys, *this, style);
    ini.WriteInteger(Section, "LogoLines", static_cast<int>(Lines.size()));
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        keys.Value("LogoLine" + std::to_string(i), Lines[i]);
    }
}

void TPrintLogo::Draw(QPainter& painter, const QRect& rect, bool borders) const {
    painter.save();
    painter.setPen(QPen(borders ? Qt::black : Qt::white, PrintFrameWidth(painter.device()->logicalDpiX())));
    painter.setBrush(Qt::white);
    painter.drawRect(rect);
    painter.setClipRect(rect);
    const QFont font = ToQFont(Font);
    const QFontMetrics metrics(font, painter.device());
    const int padding = std::max(1, metrics.averageCharWidth() / 2);
    QRect text = rect.adjusted(padding, padding, -padding, -padding);
    const double scale = m_image.isNull() ? 0 : BitmapScale(rect.height(), m_image.height());
    if (scale > 0) {
        const QSize size(static_cast<int>(std::lround(m_image.width() * scale)),
                         static_cast<int>(std::lround(m_image.height() * scale)));
        const QRect target(QPoint(rect.left(), rect.top() + (rect.height() - size.height()) / 2), size);
        painter.drawImage(target, m_image);
        text.setLeft(target.right() + 1 + padding);
    }
    painter.setFont(font);
    painter.setPen(ToQColor(Font.Color));
    const int lineHeight = metrics.lineSpacing();
    int top = text.top() + (text.height() - lineHeight * static_cast<int>(Lines.size())) / 2;
    for (const std::string& line : Lines) {
        painter.drawText(QRect(text.left(), top, text.width(), lineHeight),
                         LineAlignment(Justify) | Qt::AlignVCenter, QString::fromStdString(line));
        top += lineHeight;
    }
    painter.restore();
}

std::array<TPrintLogo, TitleBlockCount> ReadTitleBlocks(const TIniFile& ini, const TPrintTexts& texts) {
    std::array<TPrintLogo, TitleBlockCount> blocks;
    TPrintLogo& system = blocks[static_cast<std::size_t>(TTitleBlock::ProgramTitle)];
    system.Lines = HostLines(texts.SystemLines);
    system.Font = texts.SystemFont;
    system.SetImageFile(texts.SystemImageFile);
    const std::array<const std::vector<std::string>*, TitleBlockCount> hostLines = {
        nullptr, &texts.OwnerLines, &texts.ProjectLines, nullptr};
    for (std::size_t block = 1; block < TitleBlockCount; ++block) {
        TPrintLogo& logo = blocks[block];
        logo.Section = TitleBlockSections[block];
        logo.Read(ini);
        if (logo.Lines.empty() && hostLines[block]) {
            logo.Lines = HostLines(*hostLines[block]);
        }
    }
    return blocks;
}

TPrintMargins ReadPrintMargins(const TIniFile& ini) {
    TPrintMargins margins;
    TIniKeyReader keys(ini, PrintSection);
    MarginKeys(keys, margins);
    bool read = false;
    const double units = QString::fromStdString(ini.ReadString(PrintSection, "Units", "")).toDouble(&read);
    if (read && std::isfinite(units) && units > 0) {
        margins.Units = units;
    }
    return margins;
}

void WritePrintMargins(TIniFile& ini, const TPrintMargins& margins) {
    TIniKeyWriter keys(ini, PrintSection);
    MarginKeys(keys, margins);
    ini.WriteString(PrintSection, "Units", QString::number(margins.Units).toStdString());
}

} // namespace mirla
