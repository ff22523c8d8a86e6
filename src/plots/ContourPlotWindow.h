#pragma once

#include "plots/Plot2DWindow.h"

#include <memory>
#include <string>

class QActionGroup;

namespace mirla {

class TContour;

/// The contour window "Contour Plot": a plot window whose plot shows the map of the last contour
/// or colour-shading request, with the commands of the 2-D window and, for contour maps, the
/// editing modes. Closing only hides it; the map stays for the next showing.
class TfmContourPlot : public TfmPlot2D {
    Q_OBJECT
public:
    /// A window whose plot settings and placement live in `settingsFile` (none when empty); it
    /// reads both at once.
    explicit TfmContourPlot(const std::string& settingsFile, QWidget* parent = nullptr);
    ~TfmContourPlot() override;

    /// The map the window shows and edits: the last map in its plot (the one of the last request
    /// or one loaded from a layer file since); null when there is none.
    TContour* Map() const;
    /// True after a colour-shading request, false after a contour request.
    bool ShadingState() const { return m_shading; }

    /// Empties the plot for a new request and forgets its map.
    void Clear();
    /// Puts `map` in the plot (which was cleared for it) and takes the state of its form: in
    /// shading form the caption "Color Shade f(x,y)" and no editing commands, in line form the
    /// caption "Contour Plot f(x,y)", a legend entry named after the map and the editing commands.
    void ShowMap(std::unique_ptr<TContour> map);

protected:
    /// Shows or hides the colour scale of a shaded map, the line legend of a contour map.
    void ShowLegendClick() override;

private:
    QAction* AddEditCommand(const char* name, const QString& menuText, const QString& hint, int mode);
    void BuildEditCommands();
    void BuildContourMenus();
    void SetEditingVisible(bool visible);
    void SetEditMode(int mode);
    void AllLabelsClick();

    bool m_shading = false;
    QActionGroup* m_editGroup = nullptr;
    QAction* acAddContour = nullptr;
    QAction* acDeleteContour = nullptr;
    QAction* acLabelPosition = nullptr;
    QAction* acLabelOff = nullptr;
    QAction* acEndEdit = nullptr;
    QAction* miClose = nullptr;
    QAction* miAllLabels = nullptr;
    QAction* m_editSeparator = nullptr;
    QAction* m_editToolSeparator = nullptr;
};

} // namespace mirla
