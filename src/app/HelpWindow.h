#pragma once

class QWidget;

namespace mirla {

/// Opens the built-in help window at a topic (0 contents, 3 variables, 8 constants, 10 f(X)
/// plots, 18 contour plots, 19 colour shading, 20 surfaces, 21 the tape); one window is reused.
void ShowHelpTopic(QWidget* parent, int topic);

} // namespace mirla
