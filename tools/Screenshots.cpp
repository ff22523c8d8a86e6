// Writes pictures of the main window's pages, its dialogs and windows, filled with realistic
// content, for reviewing the look of the windows; the 2-D plot saved in every picture format; and
// the plot carrying one annotation figure of every kind:
//
//   mirla_screenshots OUTDIR [CONSTANTS_FILE]
//
// The window runs on a scratch program folder, so the user's settings and files are never
// touched. A modal dialog that opens on the way is closed and counted as a failure, so the
// program never blocks. The exit code is 0 only when every picture was written.

#include "app/CalcWindow.h"
#include "app/GraphicsPage.h"
#include "app/core/CalcFiles.h"
#include "matrix/ui/MatrixWindow.h"
#include "plotlib/Annotate.h"
#include "plotlib/FigureDialogs.h"
#include "plotlib/Graph.h"
#include "plotlib/GraphExport.h"
#include "plotlib/GraphImport.h"
#include "plotlib/Legend.h"
#include "plotlib/PictureFiles.h"
#include "plotlib/Plot.h"
#include "plotlib/PrintDialog.h"
#include "plotlib/PropertiesDialog.h"
#include "plotlib/Series.h"
#include "plots/ContourPlotWindow.h"
#include "plots/Plot2DWindow.h"
#include "plots/PolarWindow.h"
#include "plots/SurfaceWindow.h"
#include "plots/VtChartDialogs.h"
#include "runtime/SettingsFile.h"
#include "units/ui/ConvWindow.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidgetItem>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <random>
#include <utility>

using mirla::CategoryTemperature;
using mirla::OpInverse;
using mirla::TCalcFiles;
using mirla::TfmCalc;
using mirla::TfmConv;
using mirla::TfmMatrix;
using mirla::TfmPlot2D;
using mirla::TPictureFormat;
using mirla::TPlot;
using mirla::TPlotPropertiesDialog;
using mirla::TSetVar;

namespace {

constexpr int WindowWidth = 900;
constexpr int WindowHeight = 700;
constexpr int SettleMs = 300;
constexpr int VariableY = 2;
constexpr int PlotWidth = 800;
constexpr int PlotHeight = 560;
constexpr int PropertiesPageSeries = 2;

/// The curves of the 2-D plot window: expression, X from, X to, steps.
struct TCurveRequest {
    const char* Line;
    const char* From;
    const char* To;
    int Steps;
};
const TCurveRequest Curves[] = {
    {"sin(X)", "-10", "10", 200}, {"cos(X)*0.5", "-10", "10", 200}, {"X^2/50", "-10", "10", 100}};

const char* const Functions = "f(x) = x^2+1 ;parabola\n"
                              "dist(x,y) = sqrt(x^2+y^2) ;distance from the origin\n"
                              "avg3(a,b,c) = (a+b+c)/3 ;mean of three values\n";
const char* const UserVariables = "rate = 0.035\n"
                                  "mass = 72.5\n";
const char* const Lines[] = {
    "2+3*4", "sin(30)+cos(60)", "integral(0,pi,sin(X))", "(X=2.5)^2+1", "dist(3,4)", "f(rate*100)", "1/0"};

/// One-letter variables given a definition on the "Variables" page: letter, expression.
const char* const Definitions[][2] = {{"Y", "pi/4"}, {"Z", "sqrt(2)"}, {"V", "dist(X,2)"}};

/// Closes any modal dialog that opens (a message box would stop the run) and remembers it.
class TModalGuard : public QObject {
public:
    TModalGuard() {
        connect(&m_timer, &QTimer::timeout, this, &TModalGuard::Check);
        m_timer.start(50);
    }
    bool SawDialog() const { return m_sawDialog; }

private:
    void Check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        m_sawDialog = true;
        QString text = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            text += QStringLiteral(": ") + box->text();
        std::fprintf(stderr, "unexpected modal dialog closed: %s\n", qPrintable(text));
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    QTimer m_timer;
    bool m_sawDialog = false;
};

/// Runs the event loop for a while, so that layouts, timers and repaints settle.
void Settle(int ms = SettleMs) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool WriteText(const QString& path, const char* text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) >= 0;
}

/// Types `text` into `target` key by key, as the user would, then presses Enter.
void TypeAndEnter(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    Settle(50);
}

bool Save(const QPixmap& picture, const QString& path) {
    const bool saved = picture.save(path, "PNG");
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

/// "User Funcs" becomes "user-funcs".
QString FileNamePart(const QString& caption) {
    QString name = caption.toLower();
    name.remove(QLatin1Char('&'));
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    return name;
}

void EvaluateLines(TfmCalc& window) {
    window.Pages()->setCurrentIndex(0);
    for (const char* line : Lines) {
        window.InputLine()->clear();
        TypeAndEnter(window.InputLine(), QString::fromUtf8(line));
    }
}

void DefineVariables(TfmCalc& window) {
    const int variablesPage = [&window] {
        for (int i = 0; i < window.Pages()->count(); ++i)
            if (window.Pages()->tabText(i) == QStringLiteral("Variables"))
                return i;
        return -1;
    }();
    if (variablesPage < 0)
        return;
    window.Pages()->setCurrentIndex(variablesPage);
    Settle(50);
    for (const auto& [letter, expression] : Definitions) {
        const QString name = QString::fromUtf8(letter);
        auto* field = window.findChild<QLineEdit*>(QStringLiteral("ed") + name + QStringLiteral("Var"));
        auto* calculate = window.findChild<QPushButton*>(QStringLiteral("btCalc") + name);
        if (!field || !calculate)
            continue;
        field->setText(QString::fromUtf8(expression));
        calculate->click();
    }
}

bool ShootPages(TfmCalc& window, const QDir& out) {
    bool allSaved = true;
    QTabWidget* pages = window.Pages();
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        Settle();
        const QString name = QStringLiteral("page-%1-%2.png").arg(i + 1).arg(FileNamePart(pages->tabText(i)));
        allSaved = Save(window.grab(), out.filePath(name)) && allSaved;
    }
    return allSaved;
}

bool ShootSetVariableDialog(TfmCalc& window, const QDir& out) {
    TSetVar dialog(&window, window.Engine(), VariableY);
    dialog.show();
    Settle();
    const bool saved = Save(dialog.grab(), out.filePath(QStringLiteral("set-variable-dialog.png")));
    dialog.hide();
    return saved;
}

/// The matrix window after inverting a 3 x 3 matrix.
bool ShootMatrixWindow(TfmCalc& window, const QDir& out) {
    TfmMatrix matrix(window.Engine(), &window);
    matrix.SetGridSize(matrix.sgA, 3, 3);
    const QStringList cells = {"2", "1", "1", "1", "3", "2", "1", "0", "0"};
    for (int i = 0; i < cells.size(); ++i)
        matrix.sgA->setItem(i / 3, i % 3, new QTableWidgetItem(cells.at(i)));
    matrix.SelectOperation(OpInverse);
    matrix.Button1Click();
    matrix.show();
    Settle();
    const bool saved = Save(matrix.grab(), out.filePath(QStringLiteral("matrix-window.png")));
    matrix.hide();
    return saved;
}

/// The units converter on temperatures with a value typed.
bool ShootUnitsConverter(TfmCalc& window, const QDir& out) {
    TfmConv converter(&window, window.Engine(), window.DisplayWidth());
    converter.ChooseCategory(CategoryTemperature);
    converter.show();
    converter.Field(1)->setFocus();
    converter.Field(1)->setText(QStringLiteral("100"));
    Settle();
    const bool saved = Save(converter.grab(), out.filePath(QStringLiteral("units-converter.png")));
    converter.hide();
    return saved;
}

/// Draws the three curves through the "Graphics" page, as the user would request them.
void RequestCurves(TfmCalc& window) {
    const int graphicsPage = [&window] {
        for (int i = 0; i < window.Pages()->count(); ++i)
            if (window.Pages()->tabText(i) == QStringLiteral("Graphics"))
                return i;
        return -1;
    }();
    auto* from = window.findChild<QLineEdit*>(QStringLiteral("edFromX"));
    auto* to = window.findChild<QLineEdit*>(QStringLiteral("edToX"));
    auto* steps = window.findChild<QLineEdit*>(QStringLiteral("edStepsX"));
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("bbOK"));
    if (graphicsPage < 0 || !from || !to || !steps || !ok)
        return;
    // The curves are meant over radians; the angle mode the user had comes back afterwards.
    const int angleMode = window.Engine().AngleMode;
    window.Engine().AngleMode = 0;
    for (const TCurveRequest& curve : Curves) {
        window.Pages()->setCurrentIndex(0);
        window.InputLine()->setText(QString::fromUtf8(curve.Line));
        window.Pages()->setCurrentIndex(graphicsPage);
        from->setText(QString::fromUtf8(curve.From));
        to->setText(QString::fromUtf8(curve.To));
        steps->setText(QString::number(curve.Steps));
        ok->click();
    }
    window.Engine().AngleMode = angleMode;
    window.Pages()->setCurrentIndex(0);
}

/// Shows the 2-D plot window with its curves and saves its picture as `name`.
bool ShootPlotWithCurves(TfmCalc& window, const QDir& out, const QString& name) {
    TfmPlot2D& plotWindow = *window.Plot2D();
    plotWindow.resize(PlotWidth, PlotHeight);
    RequestCurves(window);
    const int curves = plotWindow.Chart().Graph().LayerCount();
    if (curves != static_cast<int>(std::size(Curves))) {
        std::fprintf(stderr, "the plot requests drew %d curves\n", curves);
        return false;
    }
    plotWindow.show();
    Settle();
    return Save(plotWindow.grab(), out.filePath(name));
}

/// The 2-D plot window with its curves, then zoomed into the middle, then its properties dialog.
bool ShootPlotWindow(TfmCalc& window, const QDir& out) {
    if (!ShootPlotWithCurves(window, out, QStringLiteral("plot-2d-window.png")))
        return false;
    TfmPlot2D& plotWindow = *window.Plot2D();
    TPlot& chart = plotWindow.Chart();

    // The view a rubber band from (-4, -1) to (4, 1.5) would give, stacked as the zoom stacks it.
    chart.Zoom().Push(chart.Graph().Views());
    mirla::TZoomViews zoomed = chart.Graph().Views();
    zoomed.Primary = {-4, -1, 4, 1.5};
    chart.Graph().SetViews(zoomed);
    emit chart.ViewChanged();
    chart.Refresh();
    Settle();
    bool saved = Save(plotWindow.grab(), out.filePath(QStringLiteral("plot-2d-window-zoomed.png")));
    chart.ZoomOut();
    chart.Refresh();

    TPlotPropertiesDialog properties(chart, PropertiesPageSeries, &plotWindow);
    properties.show();
    Settle();
    saved = Save(properties.grab(), out.filePath(QStringLiteral("plot-properties-dialog.png"))) && saved;
    properties.hide();
    return saved;
}

/// Requests a map of sin(X)*cos(Y) over -5..5 x -5..5 of plot type `type` (1 contour, 2 shading).
void RequestMap(TfmCalc& window, int type) {
    window.Pages()->setCurrentIndex(0);
    window.InputLine()->setText(QStringLiteral("sin(X)*cos(Y)"));
    for (int i = 0; i < window.Pages()->count(); ++i)
        if (window.Pages()->tabText(i) == QStringLiteral("Graphics"))
            window.Pages()->setCurrentIndex(i);
    if (auto* button = window.findChild<QRadioButton*>(QStringLiteral("rbPlot%1").arg(type)))
        button->click();
    const std::pair<const char*, const char*> fields[] = {
        {"edFromX", "-5"},   {"edToX", "5"},      {"edFromY", "-5"},  {"edToY", "5"},
        {"edStepsX", "100"}, {"edStepsY", "100"}, {"edNumCont", "10"}};
    for (const auto& [name, text] : fields)
        if (auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(name)))
            field->setText(QString::fromLatin1(text));
    // The map is meant over radians; the angle mode the user had comes back afterwards.
    const int angleMode = window.Engine().AngleMode;
    window.Engine().AngleMode = 0;
    if (auto* ok = window.findChild<QPushButton*>(QStringLiteral("bbOK")))
        ok->click();
    window.Engine().AngleMode = angleMode;
    window.Pages()->setCurrentIndex(0);
}

/// The contour window with a labelled map, the shaded map with its colour scale, and the
/// properties dialog's "Color Map" and "Contour" pages.
bool ShootContourWindow(TfmCalc& window, const QDir& out) {
    mirla::TfmContourPlot& mapWindow = *window.ContourPlot();
    mapWindow.resize(PlotWidth, PlotHeight);
    RequestMap(window, 1);
    if (!mapWindow.Map()) {
        std::fprintf(stderr, "the contour request drew no map\n");
        return false;
    }
    Settle();
    bool saved = Save(mapWindow.grab(), out.filePath(QStringLiteral("contour-window.png")));
    for (const auto& [page, name] : {std::pair{mirla::ColorMapPage, "contour-properties-color-map.png"},
                                     std::pair{mirla::ContourPage, "contour-properties-contour.png"}}) {
        TPlotPropertiesDialog properties(mapWindow.Chart(), page, &mapWindow);
        properties.show();
        Settle();
        saved = Save(properties.grab(), out.filePath(QString::fromLatin1(name))) && saved;
    }
    RequestMap(window, 2);
    Settle();
    return Save(mapWindow.grab(), out.filePath(QStringLiteral("shading-window.png"))) && saved;
}

/// The 2-D plot saved as a picture file in each format the plot offers.
bool WritePlotPictures(TfmCalc& window, const QDir& out) {
    bool allWritten = true;
    for (TPictureFormat format : {TPictureFormat::Bmp, TPictureFormat::Wmf, TPictureFormat::Emf,
                                  TPictureFormat::Png, TPictureFormat::Svg, TPictureFormat::Pdf}) {
        const QString path =
            out.filePath(QStringLiteral("plot-2d-picture") + mirla::PictureExtension(format).toLower());
        QString error;
        const bool written = mirla::WritePicture(window.Plot2D()->Chart().Graph(),
                                                 QSize(PlotWidth, PlotHeight), path, format, error);
        std::fprintf(written ? stdout : stderr, "%s %s%s\n", written ? "wrote" : "could not write",
                     qPrintable(path), written ? "" : qPrintable(QStringLiteral(": ") + error));
        allWritten = written && allWritten;
    }
    return allWritten;
}

/// The 2-D plot holding a noisy series only, with its legend entry.
void ShowNoisySeries(TPlot& chart) {
    chart.Clear();
    mirla::TGraph& graph = chart.Graph();
    const mirla::TColor color = chart.FreeColor();
    auto series = std::make_unique<mirla::TSeries>(graph, "data", mirla::ssPoints, color);
    series->SetMarkerStyle(mirla::msCircle);
    std::mt19937 generator(7);
    std::normal_distribution<double> noise(0, 0.04);
    for (int i = 0; i < 40; ++i) {
        const double x = -3 + 6.0 * i / 39;
        series->AddPoint(color, "", x, std::sin(x) + 0.2 * x + noise(generator));
    }
    mirla::TSeries& data = *series;
    graph.AddLayer(std::move(series));
    auto entry = std::make_unique<mirla::TLineLegend>(graph);
    data.AttachLegend(entry.get());
    chart.Legend().Add(std::move(entry));
    chart.Refresh();
}

/// The "Operations" page making the derivative and a degree-5 fit of a noisy series, and the plot
/// holding the three curves.
bool ShootSeriesOperations(TfmCalc& window, const QDir& out) {
    TfmPlot2D& plotWindow = *window.Plot2D();
    TPlot& chart = plotWindow.Chart();
    ShowNoisySeries(chart);
    TPlotPropertiesDialog properties(chart, mirla::OperationsPage, &plotWindow);
    auto* list = properties.findChild<QListWidget*>(QStringLiteral("tbSeries"));
    auto* derivative = properties.findChild<QPushButton*>(QStringLiteral("btDeriv2"));
    auto* degree = properties.findChild<QLineEdit*>(QStringLiteral("edDegree"));
    auto* fit = properties.findChild<QPushButton*>(QStringLiteral("btFit"));
    if (!list || !derivative || !degree || !fit) {
        std::fprintf(stderr, "the properties dialog has no operations page\n");
        return false;
    }
    properties.show();
    list->setCurrentRow(0);
    derivative->click();
    // The noisy series and its derivative stand as the operands of the arithmetic buttons.
    for (const auto& [row, button] : {std::pair{1, "btFirst"}, std::pair{0, "btSecond"}}) {
        list->setCurrentRow(row);
        if (auto* take = properties.findChild<QPushButton*>(QString::fromLatin1(button)))
            take->click();
    }
    list->setCurrentRow(1);
    degree->setText(QStringLiteral("5"));
    fit->click();
    Settle();
    bool saved = Save(properties.grab(), out.filePath(QStringLiteral("plot-properties-operations.png")));
    properties.hide();
    chart.Refresh();
    Settle();
    saved = Save(plotWindow.grab(), out.filePath(QStringLiteral("plot-2d-series-operations.png"))) && saved;
    return saved;
}

/// Puts a figure of `T` spanning (x1, y1)..(x2, y2) on the plot and returns it.
template <class T> T& AddFigure(mirla::TGraph& graph, double x1, double y1, double x2, double y2) {
    auto figure = std::make_unique<T>(graph);
    figure->X1 = x1;
    figure->Y1 = y1;
    figure->X2 = x2;
    figure->Y2 = y2;
    figure->Color = mirla::clNavy;
    T& added = *figure;
    graph.Annotate().Add(std::move(figure));
    return added;
}

/// The 2-D plot window with one figure of every kind and the "Annotate Tools" palette, the
/// figures' properties dialog, and the annotated plot as a PDF picture.
bool ShootAnnotations(TfmCalc& window, const QDir& out) {
    TfmPlot2D& plotWindow = *window.Plot2D();
    mirla::TGraph& graph = plotWindow.Chart().Graph();
    AddFigure<mirla::TShape>(graph, -8, 1.6, -8, 1.6);
    AddFigure<mirla::TMonoLine>(graph, -9, -0.8, -5, -0.4).Width = 2;
    AddFigure<mirla::TArrow>(graph, 3, 1.6, 1.6, 1.05);
    auto& box = AddFigure<mirla::TRectangle>(graph, -3, 0.4, 0, 1.4);
    box.FillMode = mirla::fmSemiTransparent;
    box.BackColor = mirla::clYellow;
    AddFigure<mirla::TCircle>(graph, 5, -0.9, 8, -0.2).Style = mirla::psDash;
    auto& pencil = AddFigure<mirla::TPencil>(graph, 0, 0, 0, 0);
    for (int i = 0; i <= 30; ++i)
        pencil.Points.emplace_back(5 + i * 0.12, 1.2 + 0.2 * std::sin(i / 3.0));
    auto& note = AddFigure<mirla::TNoteText>(graph, 3.1, 1.7, 3.1, 1.7);
    note.Text = "first maximum";
    note.Font.Size = 11;
    plotWindow.Chart().Refresh();
    // A guide line sits at a pixel row of the picture as the screen lays it out.
    AddFigure<mirla::THorLine>(graph, 0, 0, 0, 0).Position = graph.YToScreen(-0.5);
    plotWindow.Chart().Refresh();
    Settle();
    bool saved = Save(plotWindow.grab(), out.filePath(QStringLiteral("plot-2d-annotations.png")));

    mirla::TfmFigsProperties properties(box, false, &plotWindow);
    properties.show();
    Settle();
    saved = Save(properties.grab(), out.filePath(QStringLiteral("figure-properties-dialog.png"))) && saved;
    properties.hide();

    const QString path = out.filePath(QStringLiteral("plot-2d-annotations.pdf"));
    QString error;
    const bool written =
        mirla::WritePicture(graph, QSize(PlotWidth, PlotHeight), path, TPictureFormat::Pdf, error);
    std::fprintf(written ? stdout : stderr, "%s %s\n", written ? "wrote" : "could not write",
                 qPrintable(path));
    graph.Annotate().Clear();
    return written && saved;
}

/// The print dialog's pages, the preview of a page with the program and description title blocks,
/// and that page printed to a PDF file.
bool ShootPrinting(TfmCalc& window, const QDir& out) {
    TPlot& chart = window.Plot2D()->Chart();
    // A company block as a user would have stored it, for the "Title Blocks" page to show.
    std::string message;
    mirla::UpdateSettingsFile(
        chart.Graph().IniFileName,
        [](mirla::TIniFile& ini) {
            ini.WriteInteger("Owner LOGO", "LogoLines", 2);
            ini.WriteString("Owner LOGO", "LogoLine0", "Physics Laboratory");
            ini.WriteString("Owner LOGO", "LogoLine1", "Optics group");
            ini.WriteInteger("Owner LOGO", "LinesJustify", 2);
        },
        message);
    mirla::TPageSetup setup;
    setup.Ticked = {true, false, false, true};
    const std::vector<mirla::TGraph*> graphs = {&chart.Graph()};
    mirla::TPrintDlg dialog(setup, graphs, chart.Graph().IniFileName, chart.PrintTexts, window.Plot2D());
    dialog.findChild<QPlainTextEdit*>(QStringLiteral("mmDescription"))
        ->setPlainText(QStringLiteral("Three curves of the Graphics page\nsin(X), cos(X)*0.5 and X^2/50"));
    dialog.Printer().setPageSize(QPageSize(QPageSize::A4));
    dialog.show();
    Settle();
    auto* pages = dialog.findChild<QTabWidget*>(QStringLiteral("pcPages"));
    bool saved = true;
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        Settle();
        saved = Save(dialog.grab(), out.filePath(QStringLiteral("print-dialog-") +
                                                 FileNamePart(pages->tabText(i)) + QStringLiteral(".png"))) &&
                saved;
    }
    mirla::TPreView preview(
        dialog.Printer(), [&](QPrinter& printer) { mirla::PrintPage(printer, setup, graphs); }, &dialog);
    preview.show();
    Settle();
    saved = Save(preview.grab(), out.filePath(QStringLiteral("print-preview.png"))) && saved;
    preview.hide();
    const QString pdf = out.filePath(QStringLiteral("print-page.pdf"));
    const bool printed = dialog.PrintToPdf(pdf);
    std::fprintf(printed ? stdout : stderr, "%s %s\n", printed ? "wrote" : "could not write",
                 qPrintable(pdf));
    dialog.hide();
    chart.Refresh();
    return saved && printed;
}

/// Runs one request of plot type `type` for `line` through the "Graphics" page, in radians.
void RequestChart(TfmCalc& window, int type, const char* line, const QStringList& fields) {
    const int angleMode = window.Engine().AngleMode;
    window.Engine().AngleMode = 0;
    window.Pages()->setCurrentIndex(0);
    window.InputLine()->setText(QString::fromUtf8(line));
    window.Pages()->setCurrentWidget(window.findChild<mirla::TGraphicsPage*>());
    window.findChild<QRadioButton*>(QStringLiteral("rbPlot%1").arg(type))->click();
    const char* const names[] = {"edFromX", "edToX", "edStepsX", "edFromY", "edToY", "edStepsY"};
    for (int i = 0; i < fields.size(); ++i)
        window.findChild<QLineEdit*>(QString::fromLatin1(names[i]))->setText(fields[i]);
    window.findChild<QPushButton*>(QStringLiteral("bbOK"))->click();
    window.Engine().AngleMode = angleMode;
    window.Pages()->setCurrentIndex(0);
}

/// A chart window as it stands; the surface graph draws outside the widgets, so its picture is
/// laid over the window's.
QPixmap GrabChartWindow(mirla::TfmChartWindow& chartWindow) {
    QPixmap picture = chartWindow.grab();
    QPainter painter(&picture);
    mirla::TVtChart& chart = chartWindow.Chart();
    painter.drawImage(chart.mapTo(&chartWindow, QPoint(0, 0)), chart.Picture());
    return picture;
}

/// The polar window with two curves, the surface window after two turns, and the data editor.
bool ShootChartWindows(TfmCalc& window, const QDir& out) {
    mirla::TfmPolar& polar = *window.Polar();
    polar.resize(PlotWidth, PlotHeight);
    RequestChart(window, mirla::TGraphicsPage::PolarPlot, "1 + cos(X)", {"0", "360", "361"});
    RequestChart(window, mirla::TGraphicsPage::PolarPlot, "2 * sin(3 * X)", {"0", "360", "361"});
    Settle();
    bool saved = Save(GrabChartWindow(polar), out.filePath(QStringLiteral("polar-window.png")));
    polar.hide();

    mirla::TfmSurface& surface = *window.Surface();
    surface.resize(PlotWidth, PlotHeight);
    RequestChart(window, mirla::TGraphicsPage::SurfacePlot, "sin(X)*cos(Y)",
                 {"-5", "5", "40", "-5", "5", "40"});
    surface.findChild<QAction*>(QStringLiteral("acRotateLeft"))->trigger();
    surface.findChild<QAction*>(QStringLiteral("acRotateDown"))->trigger();
    Settle(SettleMs * 4);
    saved = Save(GrabChartWindow(surface), out.filePath(QStringLiteral("surface-window.png"))) && saved;

    mirla::TChartDataEditor editor(surface.Chart().Model(), &surface);
    editor.show();
    Settle();
    saved = Save(editor.grab(), out.filePath(QStringLiteral("surface-data-editor.png"))) && saved;
    editor.hide();
    surface.hide();
    return saved;
}

/// The import dialog with a pasted grid, "Show data" on a file of three columns, and the export
/// dialog with its preview.
bool ShootDataDialogs(TfmCalc& window, const QDir& out) {
    TfmPlot2D& plotWindow = *window.Plot2D();
    TPlot& chart = plotWindow.Chart();
    QString pasted;
    std::string file;
    for (int i = 0; i < 40; ++i) {
        const double t = i * 0.25;
        pasted += QStringLiteral("%1\t%2\n").arg(t).arg(std::sin(t) * std::exp(-t / 5), 0, 'g', 6);
        file += QStringLiteral("%1, %2, %3\n").arg(i).arg(t).arg(std::cos(t), 0, 'g', 6).toStdString();
    }
    QApplication::clipboard()->setText(pasted);
    mirla::TfmGraphImport import(chart.Graph(), nullptr, chart.ImportDelimiters, &plotWindow);
    import.btPasteClick();
    import.show();
    Settle();
    bool saved = Save(import.grab(), out.filePath(QStringLiteral("import-dialog.png")));
    import.hide();

    mirla::TfmFileData data(mirla::TextLines(file), chart.ImportDelimiters, &plotWindow);
    data.show();
    Settle();
    saved = Save(data.grab(), out.filePath(QStringLiteral("show-data-dialog.png"))) && saved;
    data.hide();

    mirla::TfmExports exports(chart.Graph(), &plotWindow);
    for (const char* part : {"cbName", "cbXAxis", "cbYAxis"})
        exports.findChild<QCheckBox*>(QLatin1String(part))->setChecked(true);
    exports.show();
    Settle();
    saved = Save(exports.grab(), out.filePath(QStringLiteral("export-dialog.png"))) && saved;
    exports.hide();
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || args.size() > 3) {
        std::fprintf(stderr, "usage: mirla_screenshots OUTDIR [CONSTANTS_FILE]\n");
        return 2;
    }
    const QDir out(args.at(1));
    const QString constants = args.size() > 2 ? args.at(2) : QStringLiteral(MIRLA_CONSTANTS_FILE);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    QTemporaryDir folder;
    if (!folder.isValid() || !QFile::copy(constants, folder.filePath(QStringLiteral("Mirla.CON"))) ||
        !WriteText(folder.filePath(QStringLiteral("Mirla.FNC")), Functions) ||
        !WriteText(folder.filePath(QStringLiteral("Mirla.USR")), UserVariables)) {
        std::fprintf(stderr, "cannot prepare a program folder with %s\n", qPrintable(constants));
        return 1;
    }

    TModalGuard guard;
    const std::string path = folder.path().toStdString();
    TfmCalc window(TCalcFiles::Locate(path, path + "/user"));
    window.show();
    Settle();
    // On a scaled screen (QT_SCALE_FACTOR=2) only the plot window is pictured, at that density.
    if (window.devicePixelRatioF() > 1) {
        const bool scaledSaved = ShootPlotWithCurves(
            window, out, QStringLiteral("plot-2d-window-dpr%1.png").arg(window.devicePixelRatioF()));
        return scaledSaved && !guard.SawDialog() ? 0 : 1;
    }
    // The window as a new user first sees it: empty history, at its own size.
    const bool firstStartSaved =
        Save(window.grab(), out.filePath(QStringLiteral("main-window-first-start.png")));
    window.resize(WindowWidth, WindowHeight);
    Settle();

    EvaluateLines(window);
    DefineVariables(window);
    const bool pagesSaved = firstStartSaved && ShootPages(window, out);
    const bool dialogSaved = ShootSetVariableDialog(window, out) && ShootMatrixWindow(window, out) &&
                             ShootUnitsConverter(window, out);
    const bool plotSaved = ShootPlotWindow(window, out) && WritePlotPictures(window, out) &&
                           ShootPrinting(window, out) && ShootContourWindow(window, out);
    const bool annotationsSaved = ShootAnnotations(window, out) && ShootSeriesOperations(window, out);
    const bool chartsSaved = ShootChartWindows(window, out);
    const bool dataSaved = ShootDataDialogs(window, out);
    if (guard.SawDialog())
        std::fprintf(stderr, "a modal dialog opened: the pictures may not show the intended state\n");
    return pagesSaved && dialogSaved && plotSaved && annotationsSaved && chartsSaved && dataSaved &&
                   !guard.SawDialog()
               ? 0
               : 1;
}
