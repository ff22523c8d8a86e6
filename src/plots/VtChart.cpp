#include "plots/VtChart.h"

#include "plots/VtChartDialogs.h"

#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QMimeData>
#include <QOpenGLContext>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPolarChart>
#include <QPrintDialog>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <QtDataVisualization/Q3DCamera>
#include <QtDataVisualization/Q3DSurface>
#include <QtDataVisualization/Q3DTheme>
#include <QtDataVisualization/QSurface3DSeries>
#include <QtDataVisualization/QSurfaceDataProxy>
#include <QtDataVisualization/QValue3DAxis>

#include <cmath>
#include <vector>

namespace mirla {

namespace {

constexpr double FullTurn = 360;
constexpr int AngularTicks = 9;
constexpr int PolarPenWidth = 2;
/// Wall widths are points; the graph's margin is in its own units, a hundredth of them.
constexpr double WallWidthScale = 100;

bool DisplayHasOpenGl() {
    // The off-screen and minimal platforms offer no windows the surface graph can draw into.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    QOpenGLContext context;
    return context.create();
}

QColor ColorOf(TRgb rgb) {
    return QColor(rgb.Red, rgb.Green, rgb.Blue);
}

/// The positions of rows or columns along an axis: their labels as numbers when all read and
/// rise, else 1, 2, 3...
template <typename LabelAt> std::vector<double> AxisPositions(int count, LabelAt labelAt) {
    std::vector<double> positions;
    for (int i = 1; i <= count; ++i) {
        bool ok = false;
        const double value = QString::fromStdString(labelAt(i)).toDouble(&ok);
        if (!ok || (!positions.empty() && value <= positions.back()))
            break;
        positions.push_back(value);
    }
    if (static_cast<int>(positions.size()) == count)
        return positions;
    positions.clear();
    for (int i = 1; i <= count; ++i)
        positions.push_back(i);
    return positions;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TVtChart::TVtChart(TKind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (kind == TKind::Surface)
        BuildSurface();
    else
        BuildPolar();
    Refresh();
}

TVtChart::~TVtChart() = default;

void TVtChart::BuildSurface() {
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lbChartTitle"));
    m_title->setAlignment(Qt::AlignCenter);
    QFont font = m_title->font();
    font.setBold(true);
    m_title->setFont(font);
    m_legend = new QLabel(this);
    m_legend->setObjectName(QStringLiteral("lbChartLegend"));
    m_legend->setAlignment(Qt::AlignCenter);
    layout()->addWidget(m_title);
    if (!DisplayHasOpenGl()) {
        auto* message =
            new QLabel(QStringLiteral("This display offers no OpenGL, so the surface cannot be drawn.\n"
                                      "Its data can still be edited, copied and pasted."),
                       this);
        message->setObjectName(QStringLiteral("lbNoOpenGl"));
        message->setAlignment(Qt::AlignCenter);
        message->setWordWrap(true);
        m_surfaceView = message;
    } else {
        m_surface = new Q3DSurface;
        // Shadows cost more than the whole surface where OpenGL is drawn in software; the
        // light alone shows the shape.
        m_surface->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
        m_surface->axisX()->setTitleVisible(true);
        m_surface->axisY()->setTitleVisible(true);
        m_surface->axisZ()->setTitleVisible(true);
        m_series = new QSurface3DSeries(new QSurfaceDataProxy);
        m_series->setFlatShadingEnabled(false);
        m_surface->addSeries(m_series);
        m_surface->activeTheme()->setColorStyle(Q3DTheme::ColorStyleUniform);
        m_surfaceView = QWidget::createWindowContainer(m_surface, this);
        m_surfaceView->setObjectName(QStringLiteral("SurfaceView"));
        m_surfaceView->setMinimumSize(200, 150);
        Q3DCamera* camera = m_surface->scene()->activeCamera();
        connect(camera, &Q3DCamera::xRotationChanged, this, &TVtChart::CameraMoved);
        connect(camera, &Q3DCamera::yRotationChanged, this, &TVtChart::CameraMoved);
    }
    m_surfaceView->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout()->addWidget(m_surfaceView);
    layout()->addWidget(m_legend);
}

void TVtChart::BuildPolar() {
    m_polar = new QPolarChart;
    auto* angle = new QValueAxis;
    angle->setRange(0, FullTurn);
    angle->setTickCount(AngularTicks);
    angle->setLabelFormat(QStringLiteral("%g"));
    m_polar->addAxis(angle, QPolarChart::PolarOrientationAngular);
    auto* radius = new QValueAxis;
    radius->setLabelFormat(QStringLiteral("%g"));
    m_polar->addAxis(radius, QPolarChart::PolarOrientationRadial);
    m_polarView = new QChartView(m_polar, this);
    m_polarView->setObjectName(QStringLiteral("PolarView"));
    m_polarView->setRenderHint(QPainter::Antialiasing);
    layout()->addWidget(m_polarView);
}

void TVtChart::Refresh() {
    if (m_kind == TKind::Surface)
        RefreshSurface();
    else
        RefreshPolar();
}

void TVtChart::RefreshSurface() {
    m_title->setText(Text(m_model.TitleText));
    m_title->setVisible(!m_model.TitleText.empty());
    const QColor colour = ColorOf(m_model.ElevationColor);
    m_legend->setText(QStringLiteral("<span style=\"color:%1\">&#9632;</span> %2")
                          .arg(colour.name(), Text(m_model.Axes[1].Title).toHtmlEscaped()));
    m_legend->setVisible(m_model.ShowLegend);
    if (!m_surface)
        return;
    m_surface->axisX()->setTitle(Text(m_model.Axes[0].Title));
    m_surface->axisY()->setTitle(Text(m_model.Axes[1].Title));
    m_surface->axisZ()->setTitle(Text(m_model.Axes[3].Title));
    bool grid = false;
    for (const TVtAxis& axis : m_model.Axes)
        grid = grid || axis.Grid != TGridStyle::None;
    m_surface->activeTheme()->setGridEnabled(grid);
    m_surface->setMargin(m_model.WallWidth / WallWidthScale);
    m_series->setBaseColor(colour);
    static constexpr QSurface3DSeries::DrawFlags Styles[] = {QSurface3DSeries::DrawSurface,
                                                             QSurface3DSeries::DrawSurfaceAndWireframe,
                                                             QSurface3DSeries::DrawWireframe};
    m_series->setDrawMode(Styles[std::clamp(m_model.ChartStyle, 0, 2)]);

    // The graph's rows run along its depth axis: one per column of the data grid.
    const int rows = m_model.RowCount();
    const int columns = m_model.ColumnCount();
    const std::vector<double> xs = AxisPositions(rows, [this](int i) { return m_model.RowLabelAt(i); });
    const std::vector<double> zs = AxisPositions(columns, [this](int i) { return m_model.ColumnLabelAt(i); });
    auto* array = new QSurfaceDataArray;
    array->reserve(columns);
    for (int column = 1; column <= columns; ++column) {
        auto* line = new QSurfaceDataRow(rows);
        for (int row = 1; row <= rows; ++row) {
            const double value = m_model.Cell(row, column).value_or(0.0);
            (*line)[row - 1].setPosition(QVector3D(
                static_cast<float>(xs[static_cast<std::size_t>(row - 1)]), static_cast<float>(value),
                static_cast<float>(zs[static_cast<std::size_t>(column - 1)])));
        }
        array->append(line);
    }
    m_series->dataProxy()->resetArray(array);

    if (m_model.DrawMode == 1) {
        m_placingCamera = true;
        Q3DCamera* camera = m_surface->scene()->activeCamera();
        camera->setXRotation(m_model.Rotation);
        camera->setYRotation(m_model.Elevation);
        m_placingCamera = false;
    }
}

void TVtChart::CameraMoved() {
    if (m_placingCamera)
        return;
    const Q3DCamera* camera = m_surface->scene()->activeCamera();
    m_model.Rotation = camera->xRotation();
    m_model.Elevation = camera->yRotation();
    emit ViewTurned();
}

void TVtChart::RefreshPolar() {
    m_polar->removeAllSeries();
    m_polar->setTitle(Text(m_model.TitleText));
    m_polar->legend()->setVisible(m_model.ShowLegend);
    const QList<QAbstractAxis*> angular = m_polar->axes(QPolarChart::PolarOrientationAngular);
    const QList<QAbstractAxis*> radial = m_polar->axes(QPolarChart::PolarOrientationRadial);
    angular.front()->setTitleText(Text(m_model.Axes[0].Title));
    angular.front()->setGridLineVisible(m_model.Axes[0].Grid != TGridStyle::None);
    radial.front()->setTitleText(Text(m_model.Axes[1].Title));
    radial.front()->setGridLineVisible(m_model.Axes[1].Grid != TGridStyle::None);

    double largest = 0;
    for (int column = 1; column + 1 <= m_model.ColumnCount(); column += 2) {
        QXYSeries* curve = m_model.ChartStyle == 1 ? static_cast<QXYSeries*>(new QScatterSeries)
                                                   : static_cast<QXYSeries*>(new QLineSeries);
        curve->setName(Text(m_model.ColumnLabelAt(column)));
        QList<QPointF> points;
        for (int row = 1; row <= m_model.RowCount(); ++row) {
            const std::optional<double> angle = m_model.Cell(row, column);
            const std::optional<double> radius = m_model.Cell(row, column + 1);
            if (!angle || !radius || !std::isfinite(*angle) || !std::isfinite(*radius))
                continue;
            // A negative radius points the other way. Angles beyond the dial come back onto it;
            // a full turn stays at 360, where the curve closes, rather than jumping back to 0.
            double degrees = *radius < 0 ? *angle + FullTurn / 2 : *angle;
            if (degrees < 0 || degrees > FullTurn)
                degrees -= FullTurn * std::floor(degrees / FullTurn);
            points.append(QPointF(degrees, std::abs(*radius)));
            largest = std::max(largest, std::abs(*radius));
        }
        curve->replace(points);
        m_polar->addSeries(curve);
        curve->attachAxis(angular.front());
        curve->attachAxis(radial.front());
        QPen pen = curve->pen();
        pen.setWidth(PolarPenWidth);
        curve->setPen(pen);
    }
    auto* radius = static_cast<QValueAxis*>(radial.front());
    radius->setRange(0, largest > 0 ? largest : 1);
    radius->applyNiceNumbers();
}

void TVtChart::DrawPicture(QPainter& painter, const QRect& target) {
    if (m_polarView) {
        m_polarView->render(&painter, target);
        return;
    }
    painter.drawImage(target, Picture());
}

QImage TVtChart::Picture() {
    if (m_surface) {
        // The title and legend lie outside the graph: the graph's own picture is set between them.
        QImage picture(size(), QImage::Format_RGB32);
        picture.fill(palette().color(QPalette::Window));
        QPainter painter(&picture);
        if (m_title->isVisible())
            m_title->render(&painter, m_title->pos());
        if (m_legend->isVisible())
            m_legend->render(&painter, m_legend->pos());
        const QImage graph = m_surface->renderToImage(0, m_surfaceView->size());
        painter.drawImage(m_surfaceView->pos(), graph);
        return picture;
    }
    return grab().toImage();
}

void TVtChart::Print() {
    QPrintDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&m_printer);
    const QRect page = painter.viewport();
    // The chart keeps the proportions it has on the screen.
    DrawPicture(painter, QRect(page.topLeft(), size().scaled(page.size(), Qt::KeepAspectRatio)));
}

void TVtChart::PrintSetup() {
    QPageSetupDialog dialog(&m_printer, this);
    dialog.exec();
}

void TVtChart::CopyToClipboard() {
    auto* data = new QMimeData;
    data->setImageData(Picture());
    data->setText(Text(m_model.TabText()));
    QApplication::clipboard()->setMimeData(data);
}

bool TVtChart::PasteFromClipboard() {
    if (!m_model.SetTabText(QApplication::clipboard()->text().toStdString())) {
        QMessageBox::critical(
            this, QStringLiteral("Error"),
            QStringLiteral("The clipboard holds no data grid: a line of column labels, then "
                           "one line per row of a label and numbers, separated by tabs."));
        return false;
    }
    Refresh();
    return true;
}

void TVtChart::EditData() {
    TChartDataEditor editor(m_model, this);
    if (editor.exec() == QDialog::Accepted)
        Refresh();
}

void TVtChart::ShowProperties() {
    TChartPropertiesDialog dialog(m_model, m_kind == TKind::Surface, this);
    if (dialog.exec() == QDialog::Accepted)
        Refresh();
}

void TVtChart::ShowWizard() {
    TChartWizard wizard(m_model, m_kind == TKind::Surface, this);
    if (wizard.exec() == QDialog::Accepted)
        Refresh();
}

} // namespace mirla
