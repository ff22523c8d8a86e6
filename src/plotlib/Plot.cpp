#include "plotlib/Plot.h"

#include "plotlib/Annotate.h"
#include "plotlib/Contour.h"
#include "plotlib/FigureDialogs.h"
#include "plotlib/GraphSettings.h"
#include "plotlib/PictureFiles.h"
#include "plotlib/PlotCursors.h"
#include "plotlib/PrintDialog.h"
#include "plotlib/PropertiesDialog.h"
#include "plotlib/Series.h"
#include "runtime/SettingsFile.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QWheelEvent>

#include <cmath>
#include <utility>

namespace mirla {

namespace {

constexpr int StatusBarHeight = 20;
constexpr int CoordinatePanelWidth = 100;
/// The view shrinks to this share per wheel notch towards the user (and grows by its inverse away).
constexpr double WheelZoomFactor = 0.8;
/// Angle delta of one wheel notch.
constexpr double WheelNotch = 120;
/// How close in pixels a right click must come to a drawn point to open its series' menu.
constexpr double HitDistance = 4;

/// Shows the hourglass while it lives.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

/// A coordinate for the status bar: about six significant digits, the value itself on a
/// logarithmic axis (whose world units are log10).
QString CoordinateText(double world, bool logarithmic) {
    return QString::number(logarithmic ? std::pow(10.0, world) : world, 'g', 6);
}

QString MessageTitle() {
    return QApplication::applicationName();
}

QAction* AddSeparator(QMenu& menu, const char* name) {
    QAction* separator = menu.addSeparator();
    separator->setObjectName(QLatin1String(name));
    return separator;
}

} // namespace

TPlot::TPlot(QWidget* parent) : QWidget(parent), m_graph(std::make_unique<TGraph>()) {
    setMouseTracking(true);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setCursor(Qt::ArrowCursor);
    m_xPanel = new QLabel(QStringLiteral("X=n/a"), m_statusBar);
    m_yPanel = new QLabel(QStringLiteral("Y=n/a"), m_statusBar);
    m_zPanel = new QLabel(QStringLiteral("Z=n/a"), m_statusBar);
    m_zPanel->setObjectName(QStringLiteral("lbZ"));
    m_textPanel = new QLabel(m_statusBar);
    for (QLabel* panel : {m_xPanel, m_yPanel, m_zPanel}) {
        panel->setFixedWidth(CoordinatePanelWidth);
        m_statusBar->addWidget(panel);
    }
    m_zPanel->hide();
    m_statusBar->addWidget(m_textPanel, 1);

    m_graph->StatusText = [this](const QString& text) { m_textPanel->setText(text.trimmed()); };
    m_graph->PumpMessages = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    m_graph->Changed = [this] { Refresh(); };
    m_graph->Annotate().EditFigure = [this](TFig& figure, bool isNew) {
        return EditFigureDialog(figure, isNew, this, [this] { Refresh(); });
    };
    // Hosts normally name their settings file; without one the plot keeps its settings beside the
    // program, in a file named after it.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    m_graph->IniFileName = (program.path() + '/' + program.completeBaseName() + ".INI").toStdString();
    LayOutStatusBar();
}

TPlot::~TPlot() {
    // The graph outlives nothing it calls back into.
    m_graph->StatusText = nullptr;
    m_graph->PumpMessages = nullptr;
    m_graph->Changed = nullptr;
    m_graph->Annotate().EditFigure = nullptr;
}

bool TPlot::StatusBarVisible() const {
    return !m_statusBar->isHidden();
}

void TPlot::SetStatusBarVisible(bool visible) {
    m_statusBar->setVisible(visible);
    LayOutStatusBar();
    Refresh();
}

bool TPlot::StatusBarGrip() const {
    return m_statusBar->isSizeGripEnabled();
}

void TPlot::SetStatusBarGrip(bool grip) {
    m_statusBar->setSizeGripEnabled(grip);
}

QString TPlot::SettingsSection() const {
    const QWidget* owner = window();
    return (owner != this ? owner->objectName() : QString()) + objectName();
}

QRect TPlot::ChartRect() const {
    QRect chart = rect();
    if (StatusBarVisible()) {
        chart.setBottom(chart.bottom() - StatusBarHeight);
    }
    return chart;
}

void TPlot::LayOutStatusBar() {
    m_statusBar->setGeometry(0, height() - StatusBarHeight, width(), StatusBarHeight);
}

// ---- drawing

void TPlot::Refresh() {
    // A drawing lets window events run between layers; a request that arrives meanwhile (a resize,
    // a layer deleting itself) is served by one more pass instead of drawing into a bitmap in use.
    if (m_drawing) {
        m_redrawPending = true;
        return;
    }
    m_drawing = true;
    do {
        m_redrawPending = false;
        const QSize size = ChartRect().size();
        if (size.isEmpty()) {
            break;
        }
        // Drawn at the screen's pixel density, so that curves and labels stay sharp on a scaled
        // screen; the painter still works in the widget's own units.
        const qreal ratio = devicePixelRatioF();
        QImage bitmap(size * ratio, QImage::Format_RGB32);
        bitmap.setDevicePixelRatio(ratio);
        bitmap.fill(ToQColor(m_graph->BackColor));
        QPainter painter(&bitmap);
        m_graph->Draw(painter, QRect(QPoint(0, 0), size), TDrawTarget::Screen);
        painter.end();
        m_bitmap = std::move(bitmap);
    } while (m_redrawPending);
    m_drawing = false;
    update();
}

void TPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect chart = ChartRect();
    painter.fillRect(chart, ToQColor(m_graph->BackColor));
    // A pan shows the bitmap moved with the mouse until the release draws the new view.
    const QPoint shift = m_owner == TMouseOwner::Pan ? m_dragNow - m_dragStart : QPoint();
    painter.setClipRect(chart);
    painter.drawImage(chart.topLeft() + shift, m_bitmap);
    painter.setBrush(Qt::NoBrush);
    if (m_owner == TMouseOwner::Zoom) {
        painter.setPen(QPen(ToQColor(Zoom().Color), 1, Qt::DotLine));
        painter.drawRect(QRect(m_dragStart, m_dragNow).normalized());
    } else if (m_owner == TMouseOwner::Legend) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(Legend().Rect.translated(m_dragNow - m_dragStart));
    }
    // Figures being drawn or dragged follow the mouse over the picture, which does not hold them.
    painter.translate(chart.topLeft());
    painter.setClipRect(m_graph->PlotArea());
    m_graph->Annotate().DrawActive(painter);
}

void TPlot::resizeEvent(QResizeEvent*) {
    LayOutStatusBar();
    Refresh();
    UpdateCursor();
}

// ---- mouse

TZoomPoint TPlot::WorldAt(QPoint position) const {
    const QPoint local = position - ChartRect().topLeft();
    return m_graph->WorldAt(local.x(), local.y());
}

bool TPlot::InPlotArea(QPoint position) const {
    return m_graph->PlotArea().contains(position - ChartRect().topLeft());
}

TLayerMouse TPlot::LayerMouse(const QMouseEvent& event, Qt::MouseButtons buttons) const {
    const QPoint position = event.position().toPoint();
    const TZoomPoint world = WorldAt(position);
    return {buttons, event.modifiers(), position - ChartRect().topLeft(), world.X, world.Y};
}

TLayer* TPlot::LayerWantingMouse() const {
    for (int i = m_graph->LayerCount() - 1; i >= 0; --i) {
        if (m_graph->Layer(i)->Visible() && m_graph->Layer(i)->WantsMouse())
            return m_graph->Layer(i);
    }
    return nullptr;
}

bool TPlot::OverInsideLegend(QPoint position) const {
    const TWLegend& legend = m_graph->Legend();
    return legend.Visible() && legend.Style == lsInside &&
           legend.Rect.contains(position - ChartRect().topLeft());
}

TPlot::TMouseOwner TPlot::StartGesture(QMouseEvent& event) {
    const QPoint position = event.position().toPoint();
    const TLayerMouse mouse = LayerMouse(event, event.button());
    TGraphAnnotate& annotate = m_graph->Annotate();
    const bool left = event.button() == Qt::LeftButton;
    const bool inPlot = InPlotArea(position);
    // A chosen drawing tool wins over zoom mode; a figure under the mouse only outside it.
    // A figure placed through its dialog, or deleted, leaves nothing to drag.
    if (inPlot && (annotate.Tool() != atSelect || !Zoom().Enabled) && annotate.MouseDown(mouse))
        return annotate.Dragging() ? TMouseOwner::Annotate : TMouseOwner::None;
    if (TLayer* layer = LayerWantingMouse(); layer && layer->MouseDown(mouse)) {
        m_ownerLayer = layer;
        return TMouseOwner::Layer;
    }
    if (left && Zoom().Enabled) {
        StartZoom(position);
        return m_graph->SilentDraw ? TMouseOwner::None : TMouseOwner::Zoom;
    }
    if (left && OverInsideLegend(position)) {
        m_dragStart = m_dragNow = position;
        return TMouseOwner::Legend;
    }
    if (event.button() == Qt::MiddleButton && inPlot) {
        StartPan(position);
        return TMouseOwner::Pan;
    }
    return TMouseOwner::None;
}

void TPlot::StartZoom(QPoint position) {
    if (m_graph->SilentDraw) {
        RunAnimatedZoom(position);
        return;
    }
    m_dragStart = m_dragNow = position;
    Zoom().BeginDrag(m_graph->Views(), WorldAt(position));
}

void TPlot::StartPan(QPoint position) {
    m_dragStart = m_dragNow = position;
    // In pan mode the drag start pushes the views, so the pan can be stepped back.
    const bool panMode = std::exchange(Zoom().PanMode, true);
    Zoom().BeginDrag(m_graph->Views(), WorldAt(position));
    Zoom().PanMode = panMode;
}

void TPlot::mousePressEvent(QMouseEvent* event) {
    // A second button pressed during a gesture belongs to that gesture's owner alone; a press
    // with no other button held starts afresh even if a release went to a dialog.
    if (m_owner == TMouseOwner::None || event->buttons() == event->button())
        m_owner = StartGesture(*event);
    UpdateCursor();
    update();
    QWidget::mousePressEvent(event);
}

void TPlot::mouseMoveEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const TLayerMouse mouse = LayerMouse(*event, event->buttons());
    ShowCoordinates(position);
    switch (m_owner) {
    case TMouseOwner::Annotate:
        m_graph->Annotate().MouseMove(mouse);
        break;
    case TMouseOwner::Layer:
        if (m_graph->IndexOf(m_ownerLayer) >= 0)
            m_ownerLayer->MouseMove(mouse);
        break;
    case TMouseOwner::Zoom:
    case TMouseOwner::Pan:
    case TMouseOwner::Legend:
        m_dragNow = position;
        break;
    case TMouseOwner::None:
        m_graph->Annotate().MouseMove(mouse);
        if (TLayer* layer = LayerWantingMouse())
            layer->MouseMove(mouse);
        m_overLegend = OverInsideLegend(position);
        break;
    }
    UpdateCursor();
    update();
    QWidget::mouseMoveEvent(event);
}

void TPlot::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint position = event->position().toPoint();
    const TLayerMouse mouse = LayerMouse(*event, event->button());
    switch (std::exchange(m_owner, TMouseOwner::None)) {
    case TMouseOwner::Annotate:
        m_graph->Annotate().MouseUp(mouse);
        break;
    case TMouseOwner::Layer:
        if (m_graph->IndexOf(m_ownerLayer) >= 0)
            m_ownerLayer->MouseUp(mouse);
        break;
    case TMouseOwner::Zoom:
        FinishRubberBand(position);
        break;
    case TMouseOwner::Pan:
        FinishPan(position);
        break;
    case TMouseOwner::Legend:
        FinishLegendDrag(position);
        break;
    case TMouseOwner::None:
        break;
    }
    m_ownerLayer = nullptr;
    UpdateCursor();
    update();
    QWidget::mouseReleaseEvent(event);
}

void TPlot::mouseDoubleClickEvent(QMouseEvent* event) {
    if (TLayer* layer = LayerWantingMouse())
        layer->DoubleClick(LayerMouse(*event, event->buttons()));
    QWidget::mouseDoubleClickEvent(event);
}

void TPlot::FinishLegendDrag(QPoint position) {
    TWLegend& legend = m_graph->Legend();
    // The anchor is the legend's top-left corner in world units, so the legend stays with the data.
    const QPoint corner = legend.Rect.topLeft() + position - m_dragStart;
    legend.AnchorX = m_graph->ScreenToX(corner.x());
    legend.AnchorY = m_graph->ScreenToY(corner.y());
    Refresh();
}

void TPlot::FinishRubberBand(QPoint position) {
    TZoomViews views = m_graph->Views();
    if (Zoom().FinishRubberBand(views, WorldAt(position))) {
        ShowViews(views);
    } else {
        update();
    }
}

void TPlot::FinishPan(QPoint position) {
    TZoomViews views = m_graph->Views();
    if (position == m_dragStart) {
        // A click without a move: drop the views the press pushed.
        Zoom().ZoomPrevious(views);
        update();
        return;
    }
    // The mapping is still the one of the drag start: the bitmap only moved while dragging.
    Zoom().FinishPan(views, WorldAt(position));
    ShowViews(views);
}

void TPlot::wheelEvent(QWheelEvent* event) {
    const QPoint position = event->position().toPoint();
    const double notches = event->angleDelta().y() / WheelNotch;
    if (notches == 0 || !InPlotArea(position)) {
        event->ignore();
        return;
    }
    const double factor = std::pow(WheelZoomFactor, notches);
    ShowViews(Zoom().ZoomAround(m_graph->Views(), WorldAt(position), factor));
    ShowCoordinates(position);
    event->accept();
}

void TPlot::ShowViews(const TZoomViews& views) {
    m_graph->SetViews(views);
    Refresh();
    emit ViewChanged();
}

void TPlot::RunAnimatedZoom(QPoint position) {
    const TZoomViews start = m_graph->Views();
    const std::vector<TZoomViews> steps = Zoom().AnimatedSteps(start, WorldAt(position));
    // The view before the animation is stacked like any other zoom, so it can be stepped back.
    Zoom().Push(start);
    for (const TZoomViews& views : steps) {
        m_graph->SetViews(views);
        Refresh();
        repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (Zoom().ZoomAutoStop) {
        Zoom().Enabled = false;
        m_graph->SilentDraw = m_savedSilentDraw;
    }
    UpdateCursor();
    emit ViewChanged();
}

void TPlot::ShowCoordinates(QPoint position) {
    const bool inside = InPlotArea(position);
    const TZoomPoint world = WorldAt(position);
    const QString x = inside ? CoordinateText(world.X, XAxis().Log()) : QStringLiteral("n/a");
    const QString y = inside ? CoordinateText(world.Y, YAxis().Log()) : QStringLiteral("n/a");
    SetPanelText(m_xPanel, QStringLiteral("X=") + x);
    SetPanelText(m_yPanel, QStringLiteral("Y=") + y);
    ShowValue(position, inside);
}

void TPlot::ShowValue(QPoint position, bool inside) {
    const TZoomPoint world = WorldAt(position);
    for (int i = 0; i < m_graph->LayerCount(); ++i) {
        const TLayer& layer = *m_graph->Layer(i);
        const std::optional<double> value = layer.Visible() ? layer.ValueAt(world.X, world.Y) : std::nullopt;
        if (!value)
            continue;
        const bool known = inside && *value != MissingValue;
        SetPanelText(m_zPanel, QStringLiteral("Z=") +
                                   (known ? QString::number(*value, 'g', 6) : QStringLiteral("n/a")));
        m_zPanel->show();
        return;
    }
    m_zPanel->hide();
}

void TPlot::SetPanelText(QLabel* panel, const QString& text) {
    panel->setText(text);
    const int wanted = panel->fontMetrics().horizontalAdvance(text + QStringLiteral("99"));
    panel->setFixedWidth(std::max(CoordinatePanelWidth, wanted));
}

void TPlot::UpdateCursor() {
    const TGraphAnnotate& annotate = m_graph->Annotate();
    // Zoom mode hides what a click on a figure would do, but not a chosen drawing tool.
    const bool figureCursor = annotate.Cursor() && (annotate.Tool() != atSelect || !Zoom().Enabled ||
                                                    m_owner == TMouseOwner::Annotate);
    if (m_owner == TMouseOwner::Pan || m_owner == TMouseOwner::Legend) {
        setCursor(PlotCursor(TPlotCursor::MoveIt));
    } else if (figureCursor) {
        setCursor(PlotCursor(*annotate.Cursor()));
    } else if (const TLayer* layer = LayerWantingMouse(); layer && layer->MouseCursor()) {
        setCursor(*layer->MouseCursor());
    } else if (Zoom().Enabled) {
        setCursor(PlotCursor(m_graph->SilentDraw ? TPlotCursor::AniZoom : TPlotCursor::ZoomIn));
    } else if (m_overLegend) {
        setCursor(PlotCursor(TPlotCursor::MoveIt));
    } else {
        unsetCursor();
    }
}

// ---- context menu

TSeries* TPlot::SeriesAt(QPoint position) const {
    const QPoint local = position - ChartRect().topLeft();
    for (int i = m_graph->LayerCount() - 1; i >= 0; --i) {
        auto* series = dynamic_cast<TSeries*>(m_graph->Layer(i));
        if (!series || !series->Visible()) {
            continue;
        }
        m_graph->SetDrawingOnSecondAxes(series->UsesXAxis2(), series->UsesYAxis2());
        int hit = -1;
        for (int point = 0; point < series->Count() && hit < 0; ++point) {
            if (std::abs(m_graph->DataXToScreen(series->X(point)) - local.x()) <= HitDistance &&
                std::abs(m_graph->DataYToScreen(series->Y(point)) - local.y()) <= HitDistance) {
                hit = point;
            }
        }
        m_graph->SetDrawingOnSecondAxes(false, false);
        if (hit >= 0) {
            series->SetHitIndex(hit);
            return series;
        }
    }
    return nullptr;
}

void TPlot::AddGraphEntries(QMenu& menu) {
    struct TEntry {
        TPopupMenuItem Item;
        const char* Name;
        const char* Text;
        void (TPlot::*Command)();
    };
    static constexpr TEntry Entries[] = {
        {piProperties, "miPropertiesGraph", "&Properties", &TPlot::ShowProperties},
        {piCopyToClipboard, "miCopyToClipboardGraph", "&Copy to Clipboard", &TPlot::CopyToClipboard},
        {piPrint, "miPrintGraph", "&Print", &TPlot::Print},
        {piSaveAs, "miSaveAsGraph", "&Save As...", &TPlot::SaveAs},
        {piZoomIn, "miZoomInGraph", "&Zoom In", &TPlot::ZoomIn},
        {piZoomOut, "miZoomOutGraph", "&Zoom Out", &TPlot::ZoomOut},
    };
    for (const TEntry& entry : Entries) {
        if (!(m_popupItems & (1u << entry.Item))) {
            continue;
        }
        // The zoom entries form a group of their own.
        if (entry.Item == piZoomIn || (entry.Item == piZoomOut && !(m_popupItems & (1u << piZoomIn)))) {
            AddSeparator(menu, "miGraphN1");
        }
        QAction* action = menu.addAction(QString::fromLatin1(entry.Text), this, entry.Command);
        action->setObjectName(QLatin1String(entry.Name));
    }
}

void TPlot::BuildContextMenu(QMenu& menu) {
    if (m_hostMenu && !m_hostMenu->actions().isEmpty()) {
        menu.addActions(m_hostMenu->actions());
        AddSeparator(menu, "miPlotN1");
    }
    AddGraphEntries(menu);
}

void TPlot::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    TGraphAnnotate& annotate = m_graph->Annotate();
    if (annotate.FigureAt(event->pos() - ChartRect().topLeft())) {
        annotate.BuildPopupMenu(menu);
    } else if (TSeries* series = SeriesAt(event->pos())) {
        series->BuildPopupMenu(menu);
        AddPasteEntry(menu, *series);
    } else {
        BuildContextMenu(menu);
    }
    if (!menu.isEmpty()) {
        menu.exec(event->globalPos());
    }
}

// ---- commands

void TPlot::Print() {
    TPrintDlg dialog(m_pageSetup, {m_graph.get()}, PrintIniFile(), PrintTexts, this);
    dialog.exec();
    // Printing laid the graph out for the page; the screen needs its own layout back.
    Refresh();
}

std::string TPlot::PrintIniFile() const {
    if (!m_graph->IniFileName.empty()) {
        return m_graph->IniFileName;
    }
    return (QCoreApplication::applicationDirPath() + QStringLiteral("/Default.Ini")).toStdString();
}

void TPlot::ZoomIn() {
    Zoom().Enabled = true;
    m_graph->SilentDraw = false;
    UpdateCursor();
}

void TPlot::ZoomOut() {
    if (const std::optional<TZoomViews> full = Zoom().ZoomOut()) {
        ShowViews(*full);
    }
    Zoom().Enabled = false;
    UpdateCursor();
}

bool TPlot::ZoomPrevious() {
    TZoomViews views = m_graph->Views();
    const TZoom::TPreviousResult result = Zoom().ZoomPrevious(views);
    if (result.Restored) {
        ShowViews(views);
    }
    return result.Remaining;
}

void TPlot::ToggleAnimatedZoom() {
    Zoom().Enabled = !Zoom().Enabled;
    if (Zoom().Enabled) {
        m_savedSilentDraw = std::exchange(m_graph->SilentDraw, true);
    } else {
        m_graph->SilentDraw = m_savedSilentDraw;
    }
    UpdateCursor();
}

void TPlot::SaveAs() {
    const QStringList filters = PictureFilter().split(QStringLiteral(";;"));
    QFileDialog dialog(this, QStringLiteral("Save to file"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Replacing a file is asked below, after the extension is known.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const TPictureFormat chosen = FormatOfFilterIndex(filters.indexOf(dialog.selectedNameFilter()));
        const QString path = WithPictureExtension(dialog.selectedFiles().constFirst(), chosen);
        if (QFileInfo::exists(path) &&
            QMessageBox::question(
                this, MessageTitle(),
                QStringLiteral("%1\nThis file already exists.\n\nReplace existing file?").arg(path),
                QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
            continue;
        }
        QString error;
        bool written = false;
        {
            TBusyCursor busy;
            written = WritePicture(*m_graph, PictureSize(), path, FormatOfPath(path, chosen), error);
        }
        if (!written) {
            QMessageBox::critical(this, MessageTitle(), error);
        }
        return;
    }
}

QSize TPlot::PictureSize() const {
    return m_bitmap.isNull() ? ChartRect().size() : m_bitmap.deviceIndependentSize().toSize();
}

void TPlot::CopyToClipboard() {
    auto* data = new QMimeData;
    data->setImageData(m_bitmap);
    // Drawing programs take the picture as lines and text rather than pixels.
    data->setData(QStringLiteral("image/svg+xml"), PictureData(*m_graph, PictureSize(), TPictureFormat::Svg));
    QApplication::clipboard()->setMimeData(data);
}

void TPlot::ShowProperties() {
    TPlotPropertiesDialog dialog(*this, m_lastPropertiesPage, this);
    const bool applied = dialog.exec() == QDialog::Accepted;
    m_lastPropertiesPage = dialog.CurrentPage();
    if (applied) {
        Refresh();
        emit PropertiesChanged();
    }
}

void TPlot::AddContour(std::unique_ptr<TContour> contour) {
    AddMapWithLegends(*m_graph, std::move(contour));
}

void TPlot::Clear() {
    m_graph->Clear();
}

// ---- settings

void TPlot::SaveSettings() {
    const std::string& path = m_graph->IniFileName;
    if (path.empty()) {
        return;
    }
    std::string message;
    if (!UpdateSettingsFile(
            path, [this](TIniFile& ini) { WriteSettings(ini); }, message)) {
        QMessageBox::critical(this, MessageTitle(), QString::fromStdString(message));
    }
}

void TPlot::WriteSettings(TIniFile& ini) const {
    const std::string section = SettingsSection().toStdString();
    SaveGraphSettings(*m_graph, ini, section);
    ini.WriteBool(section, "Plot_StatusBarVisible", StatusBarVisible());
    ini.WriteBool(section, "Plot_StatusBarGrip", StatusBarGrip());
}

void TPlot::LoadSettings() {
    const std::string& path = m_graph->IniFileName;
    if (path.empty()) {
        return;
    }
    TIniFile ini;
    std::string message;
    if (!ini.Load(path, message)) {
        QMessageBox::critical(this, MessageTitle(), QString::fromStdString(message));
        return;
    }
    const std::string section = SettingsSection().toStdString();
    if (LoadGraphSettings(*m_graph, ini, section)) {
        SetStatusBarGrip(ini.ReadBool(section, "Plot_StatusBarGrip", StatusBarGrip()));
        SetStatusBarVisible(ini.ReadBool(section, "Plot_StatusBarVisible", StatusBarVisible()));
    }
}

} // namespace mirla
