#pragma once

#include "plotlib/core/PageLayout.h"
#include "plotlib/core/PlotTypes.h"

#include <QImage>
#include <QRect>
#include <QStringList>

#include <array>
#include <string>
#include <vector>

class QPainter;

namespace mirla {

class TIniFile;

/// Line alignment inside a title block, in the order the settings files store it.
enum TLogoJustify { ljLeft, ljRight, ljCenter };

/// One title block of the printed page: an optional bitmap at its left and text lines in one font
/// and alignment, kept in its own INI section.
class TPrintLogo {
public:
    std::string Section;            ///< the INI section ("Owner LOGO", ...); empty when not stored
    std::vector<std::string> Lines; ///< the text lines
    TFontSpec Font{"Arial", 10, clBlack, 1, 0};
    TLogoJustify Justify = ljLeft;
    std::string ImageFile; ///< the bitmap's file; empty for none

    /// The bitmap of `ImageFile` (any format the platform reads); null when the file is missing.
    const QImage& Image() const { return m_image; }
    /// Sets `ImageFile` and loads it; a file that does not load leaves the bitmap empty.
    void SetImageFile(const std::string& path);
    /// Reads the block from its section; missing keys keep the current values.
    void Read(const TIniFile& ini);
    /// Writes the block into its section.
    void Write(TIniFile& ini) const;
    /// Fills `rect` white, outlines it black with `borders` (white otherwise), draws the bitmap at
    /// its power-of-two scale at the left, centred vertically, and the lines beside it.
    void Draw(QPainter& painter, const QRect& rect, bool borders) const;

private:
    QImage m_image;
};

/// What the host program puts into the title blocks: the "Program Title" block wholly, and the lines
/// the company and project blocks show while the settings file stores none (up to six each).
struct TPrintTexts {
    std::vector<std::string> SystemLines;
    TFontSpec SystemFont{"Arial", 10, clBlack, 1, 0};
    std::string SystemImageFile;
    std::vector<std::string> OwnerLines;
    std::vector<std::string> ProjectLines;
};

/// The width in dots of the printed frames at `dotsPerInch`: a third of a millimetre, at least one dot.
int PrintFrameWidth(int dotsPerInch);
/// Most lines a host supplies for one block.
constexpr std::size_t MaxHostLines = 6;
/// The INI sections of the title blocks, indexed by `TTitleBlock` ("System LOGO" is never stored).
extern const std::array<const char*, TitleBlockCount> TitleBlockSections;

/// The four title blocks as the settings file and the host give them: the host's program block, the
/// stored company and project blocks (or the host's lines) and the stored description block.
std::array<TPrintLogo, TitleBlockCount> ReadTitleBlocks(const TIniFile& ini, const TPrintTexts& texts);
/// Reads the "Print" section's margins and units; unreadable values keep their defaults.
TPrintMargins ReadPrintMargins(const TIniFile& ini);
/// Writes the margins and units into the "Print" section.
void WritePrintMargins(TIniFile& ini, const TPrintMargins& margins);

} // namespace mirla
