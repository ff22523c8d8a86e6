#include "plotlib/PropertiesDialog.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace mirla {
namespace {

/// A plot with two series ("sin(x)" and "cos(x)"), each with its legend entry.
class PropertiesDialogTest : public testing::Test {
protected:
    PropertiesDialogTest() {
        m_sine = AddSeries("sin(x)", clRed);
        m_cosine = AddSeries("cos(x)", clBlue);
    }

    TSeries* AddSeries(const std::string& name, TColor color) {
        TGraph& graph = m_plot.Graph();
        auto series = std::make_unique<TSeries>(graph, name, ssLineAndPoint, color);
        TSeries* raw = series.get();
        series->AddPoint(color, "", 0, 0);
        series->AddPoint(color, "", 1, 1);
        graph.AddLayer(std::move(series));
        auto entry = std::make_unique<TLineLegend>(graph);
        raw->AttachLegend(entry.get());
        graph.Legend().Add(std::move(entry));
        return raw;
    }

    std::unique_ptr<TPlotPropertiesDialog> Open(int page) {
        return std::make_unique<TPlotPropertiesDialog>(m_plot, page);
    }

    TPlot m_plot;
    TSeries* m_sine = nullptr;
    TSeries* m_cosine = nullptr;
};

QWidget* Page(QDialog& dialog, int index) {
    return dialog.findChild<QWidget*>(QString("tsPage%1").arg(index));
}

template <typename T> T* Control(QDialog& dialog, int page, const char* name) {
    QWidget* pageWidget = Page(dialog, page);
    EXPECT_NE(pageWidget, nullptr) << "page " << page;
    T* control = pageWidget ? pageWidget->findChild<T*>(name) : nullptr;
    EXPECT_NE(control, nullptr) << name << " on page " << page;
    return control;
}

QString CurrentCaption(QDialog& dialog) {
    auto* tabs = dialog.findChild<QTabWidget*>();
    return tabs->tabText(tabs->currentIndex()).remove('&');
}

QStringList Captions(QDialog& dialog) {
    auto* tabs = dialog.findChild<QTabWidget*>();
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i).remove('&');
    return captions;
}

QPushButton* Button(QDialog& dialog, QDialogButtonBox::StandardButton which) {
    return dialog.findChild<QDialogButtonBox*>("bbButtons")->button(which);
}

/// Sets a fixed limit on the axis the page shows: Auto off and the text in the field.
void TypeLimit(QDialog& dialog, int page, const char* autoName, const char* fieldName, const QString& text) {
    Control<QCheckBox>(dialog, page, autoName)->setChecked(false);
    Control<QLineEdit>(dialog, page, fieldName)->setText(text);
}

/// Clicks `button` and answers the message box it opens; returns the message ("" when none opened).
QString ClickAndReadMessage(QPushButton* button) {
    QString message;
    QTimer watchdog;
    watchdog.setInterval(10);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    watchdog.start();
    button->click();
    return message;
}

// ------------------------------------------------------------------------------------ pages shown

struct PageCase {
    int Requested;
    const char* Caption;
    int Current;
};

TEST_F(PropertiesDialogTest, OpensOnTheRequestedPageOrTheFirst) {
    const PageCase cases[] = {{AxisPage, "Axis", AxisPage},
                              {TitlesPage, "Titles", TitlesPage},
                              {SeriesPage, "Series", SeriesPage},
                              {LegendsPage, "Legends", LegendsPage},
                              {OperationsPage, "Operations", OperationsPage},
                              {SettingsPage, "Settings", SettingsPage},
                              {Axis2Page, "Axis (2)", Axis2Page},
                              {InfoPage, "Info", InfoPage},
                              {4, "Axis", AxisPage},
                              {7, "Axis", AxisPage},
                              {-1, "Axis", AxisPage},
                              {10, "Axis", AxisPage}};
    for (const PageCase& c : cases) {
        auto dialog = Open(c.Requested);
        EXPECT_EQ(CurrentCaption(*dialog), c.Caption) << "page " << c.Requested;
        EXPECT_EQ(dialog->CurrentPage(), c.Current) << "page " << c.Requested;
    }
}

TEST_F(PropertiesDialogTest, CurrentPageFollowsTheTabTheUserChose) {
    auto dialog = Open(TitlesPage);
    dialog->findChild<QTabWidget*>()->setCurrentWidget(Page(*dialog, InfoPage));
    EXPECT_EQ(dialog->CurrentPage(), InfoPage);
    dialog->findChild<QTabWidget*>()->setCurrentWidget(Page(*dialog, SettingsPage));
    EXPECT_EQ(dialog->CurrentPage(), SettingsPage);
}

TEST_F(PropertiesDialogTest, HiddenTabsAreLeftOutAndTheirPageIndexOpensTheFirst) {
    EXPECT_EQ(Captions(*Open(AxisPage)), QStringList({"Axis", "Titles", "Series", "Legends", "Operations",
                                                      "Settings", "Axis (2)", "Info"}));
    m_plot.PropertiesControl.DisabledAxis2Tab = true;
    m_plot.PropertiesControl.DisabledInfoTab = true;
    m_plot.PropertiesControl.DisabledOperationsTab = true;
    auto dialog = Open(Axis2Page);
    EXPECT_EQ(Captions(*dialog), QStringList({"Axis", "Titles", "Series", "Legends", "Settings"}));
    EXPECT_EQ(dialog->CurrentPage(), AxisPage);
    EXPECT_EQ(Open(InfoPage)->CurrentPage(), AxisPage);
    EXPECT_EQ(Open(OperationsPage)->CurrentPage(), AxisPage);
}

// -------------------------------------------------------------------------------- PropertiesControl

struct SwitchCase {
    bool TPlotProperties::*Switch;
    int Page;
    const char* Axis; ///< radio button of the axis
    const char* Box;  ///< the check box the switch disables
    const char* Name;
};

TEST_F(PropertiesDialogTest, LogAndInvertSwitchesDisableTheirCheckBoxOnly) {
    const SwitchCase cases[] = {
        {&TPlotProperties::DisabledXAxisLog, AxisPage, "rbFirstAxis", "cbLog", "DisabledXAxisLog"},
        {&TPlotProperties::DisabledYAxisLog, AxisPage, "rbSecondAxis", "cbLog", "DisabledYAxisLog"},
        {&TPlotProperties::DisabledXAxisInvert, AxisPage, "rbFirstAxis", "cbInvert", "DisabledXAxisInvert"},
        {&TPlotProperties::DisabledYAxisInvert, AxisPage, "rbSecondAxis", "cbInvert", "DisabledYAxisInvert"},
        {&TPlotProperties::DisabledXAxis2Log, Axis2Page, "rbFirstAxis", "cbLog", "DisabledXAxis2Log"},
        {&TPlotProperties::DisabledYAxis2Log, Axis2Page, "rbSecondAxis", "cbLog", "DisabledYAxis2Log"},
        {&TPlotProperties::DisabledXAxis2Invert, Axis2Page, "rbFirstAxis", "cbInvert",
         "DisabledXAxis2Invert"},
        {&TPlotProperties::DisabledYAxis2Invert, Axis2Page, "rbSecondAxis", "cbInvert",
         "DisabledYAxis2Invert"},
    };
    for (const SwitchCase& c : cases) {
        m_plot.PropertiesControl = {};
        m_plot.PropertiesControl.*c.Switch = true;
        auto dialog = Open(c.Page);
        for (int page : {AxisPage, Axis2Page})
            for (const char* axis : {"rbFirstAxis", "rbSecondAxis"}) {
                Control<QRadioButton>(*dialog, page, axis)->setChecked(true);
                for (const char* box : {"cbLog", "cbInvert"}) {
                    const bool disabled = page == c.Page && QString(axis) == c.Axis && QString(box) == c.Box;
                    EXPECT_EQ(Control<QCheckBox>(*dialog, page, box)->isEnabled(), !disabled)
                        << c.Name << ": " << box << " of " << axis << " on page " << page;
                }
            }
    }
}

TEST_F(PropertiesDialogTest, OtherSwitchesLockTheirControls) {
    auto open = Open(AxisPage);
    EXPECT_TRUE(Control<QLineEdit>(*open, SettingsPage, "edView3D")->isEnabled());
    EXPECT_TRUE(Control<QComboBox>(*open, SeriesPage, "cbSeriesStyle")->isEnabled());
    EXPECT_FALSE(Control<QGroupBox>(*open, InfoPage, "gbInfoShow")->isHidden());

    m_plot.PropertiesControl.Disabled3D = true;
    m_plot.PropertiesControl.DisabledSeriesStyle = true;
    m_plot.PropertiesControl.DisabledInfoShow = true;
    auto locked = Open(AxisPage);
    EXPECT_FALSE(Control<QLineEdit>(*locked, SettingsPage, "edView3D")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(*locked, SeriesPage, "cbSeriesStyle")->isEnabled());
    EXPECT_TRUE(Control<QGroupBox>(*locked, InfoPage, "gbInfoShow")->isHidden());
}

TEST_F(PropertiesDialogTest, HasNoHelpButton) {
    auto dialog = Open(AxisPage);
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        EXPECT_NE(button->text().remove('&'), "Help");
}

// ---------------------------------------------------------------------------------- Apply, Cancel

TEST_F(PropertiesDialogTest, ApplyCopiesTitleAndFoot) {
    auto dialog = Open(TitlesPage);
    Page(*dialog, TitlesPage)
        ->findChild<QGroupBox*>("gbTitle")
        ->findChild<QLineEdit*>("edText")
        ->setText("Growth");
    Page(*dialog, TitlesPage)
        ->findChild<QGroupBox*>("gbFoot")
        ->findChild<QLineEdit*>("edText")
        ->setText("1999");
    EXPECT_NE(m_plot.Title().Text, "Growth");
    dialog->Apply();
    EXPECT_EQ(m_plot.Title().Text, "Growth");
    EXPECT_EQ(m_plot.Foot().Text, "1999");
}

TEST_F(PropertiesDialogTest, CancelChangesNothing) {
    m_plot.Title().Text = "Before";
    auto dialog = Open(TitlesPage);
    dialog->show();
    Page(*dialog, TitlesPage)
        ->findChild<QGroupBox*>("gbTitle")
        ->findChild<QLineEdit*>("edText")
        ->setText("After");
    TypeLimit(*dialog, AxisPage, "cbAutoMin", "edMinimum", "-3");
    Control<QPushButton>(*dialog, SeriesPage, "btDelete")->click();
    Button(*dialog, QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(m_plot.Title().Text, "Before");
    EXPECT_TRUE(m_plot.XAxis().AutoMin);
    EXPECT_EQ(m_plot.XAxis().Minimum(), MissingValue);
    EXPECT_EQ(m_plot.Graph().LayerCount(), 2);
    EXPECT_EQ(m_plot.Legend().Count(), 2);
}

TEST_F(PropertiesDialogTest, OkAppliesAndCloses) {
    auto dialog = Open(TitlesPage);
    dialog->show();
    Page(*dialog, TitlesPage)
        ->findChild<QGroupBox*>("gbTitle")
        ->findChild<QLineEdit*>("edText")
        ->setText("OK'd");
    Button(*dialog, QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(m_plot.Title().Text, "OK'd");
}

// ------------------------------------------------------------------------------------------- axes

struct LimitCase {
    int Page;
    const char* Axis;
    TAxis& (TPlot::*Target)();
    const char* Name;
};

TEST_F(PropertiesDialogTest, FixedLimitsReachTheChosenAxisOnly) {
    const LimitCase cases[] = {{AxisPage, "rbFirstAxis", &TPlot::XAxis, "XAxis"},
                               {AxisPage, "rbSecondAxis", &TPlot::YAxis, "YAxis"},
                               {Axis2Page, "rbFirstAxis", &TPlot::XAxis2, "XAxis2"},
                               {Axis2Page, "rbSecondAxis", &TPlot::YAxis2, "YAxis2"}};
    for (const LimitCase& c : cases) {
        TPlot plot;
        TPlotPropertiesDialog dialog(plot, c.Page);
        Control<QRadioButton>(dialog, c.Page, c.Axis)->setChecked(true);
        TypeLimit(dialog, c.Page, "cbAutoMin", "edMinimum", " -2.5 ");
        TypeLimit(dialog, c.Page, "cbAutoMax", "edMaximum", "4e1");
        dialog.Apply();
        const TAxis& axis = (plot.*c.Target)();
        EXPECT_FALSE(axis.AutoMin) << c.Name;
        EXPECT_FALSE(axis.AutoMax) << c.Name;
        EXPECT_EQ(axis.Minimum(), -2.5) << c.Name;
        EXPECT_EQ(axis.Maximum(), 40.0) << c.Name;
        for (const LimitCase& other : cases)
            if (other.Target != c.Target) {
                EXPECT_TRUE((plot.*other.Target)().AutoMin) << other.Name << " after editing " << c.Name;
                EXPECT_EQ((plot.*other.Target)().Minimum(), MissingValue)
                    << other.Name << " after editing " << c.Name;
            }
    }
}

TEST_F(PropertiesDialogTest, EditsOfBothAxesSurviveSwitchingBetweenThem) {
    auto dialog = Open(AxisPage);
    Control<QLineEdit>(*dialog, AxisPage, "edName")->setText("Time");
    Control<QCheckBox>(*dialog, AxisPage, "cbGrid")->setChecked(true);
    Control<QRadioButton>(*dialog, AxisPage, "rbSecondAxis")->setChecked(true);
    EXPECT_EQ(Control<QLineEdit>(*dialog, AxisPage, "edName")->text(), "");
    Control<QLineEdit>(*dialog, AxisPage, "edName")->setText("Volts");
    Control<QCheckBox>(*dialog, AxisPage, "cbInvert")->setChecked(true);
    Control<QRadioButton>(*dialog, AxisPage, "rbFirstAxis")->setChecked(true);
    EXPECT_EQ(Control<QLineEdit>(*dialog, AxisPage, "edName")->text(), "Time");
    dialog->Apply();
    EXPECT_EQ(m_plot.XAxis().Name, "Time");
    EXPECT_TRUE(m_plot.XAxis().Grid);
    EXPECT_FALSE(m_plot.XAxis().Invert);
    EXPECT_EQ(m_plot.YAxis().Name, "Volts");
    EXPECT_FALSE(m_plot.YAxis().Grid);
    EXPECT_TRUE(m_plot.YAxis().Invert);
}

TEST_F(PropertiesDialogTest, StoredLimitsAreShownAndKeptWhileAuto) {
    m_plot.XAxis().SetMin(-7);
    m_plot.XAxis().SetMax(9);
    auto dialog = Open(AxisPage);
    EXPECT_EQ(Control<QLineEdit>(*dialog, AxisPage, "edMinimum")->text(), "-7");
    EXPECT_EQ(Control<QLineEdit>(*dialog, AxisPage, "edMaximum")->text(), "9");
    EXPECT_FALSE(Control<QLineEdit>(*dialog, AxisPage, "edMinimum")->isEnabled());
    Control<QCheckBox>(*dialog, AxisPage, "cbAutoMin")->setChecked(false);
    EXPECT_TRUE(Control<QLineEdit>(*dialog, AxisPage, "edMinimum")->isEnabled());
    dialog->Apply();
    EXPECT_FALSE(m_plot.XAxis().AutoMin);
    EXPECT_EQ(m_plot.XAxis().Minimum(), -7);
    EXPECT_TRUE(m_plot.XAxis().AutoMax);
    EXPECT_EQ(m_plot.XAxis().Maximum(), 9);
}

TEST_F(PropertiesDialogTest, LogarithmAppliedAfterTheLegendMovesAnInsideLegendAside) {
    auto dialog = Open(AxisPage);
    Control<QComboBox>(*dialog, LegendsPage, "cbLegendStyle")->setCurrentIndex(lsInside);
    Control<QCheckBox>(*dialog, AxisPage, "cbLog")->setChecked(true);
    dialog->Apply();
    EXPECT_TRUE(m_plot.XAxis().Log());
    EXPECT_EQ(m_plot.Legend().Style, lsRight);
}

// ----------------------------------------------------------------------------------------- series

TEST_F(PropertiesDialogTest, SeriesAreListedByName) {
    auto dialog = Open(SeriesPage);
    auto* list = Control<QListWidget>(*dialog, SeriesPage, "lbSeries");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "sin(x)");
    EXPECT_EQ(list->item(1)->text(), "cos(x)");
    EXPECT_EQ(Control<QComboBox>(*dialog, SeriesPage, "cbSeriesStyle")->currentText(), "Line and Point");
}

TEST_F(PropertiesDialogTest, StyleListOffersTheSevenStylesInCodeOrder) {
    auto dialog = Open(SeriesPage);
    auto* styles = Control<QComboBox>(*dialog, SeriesPage, "cbSeriesStyle");
    const QStringList expected{"Points", "Line", "Line and Point", "Volume", "Piecewise Constant",
                               "Area",   "Bar"};
    ASSERT_EQ(styles->count(), expected.size());
    for (int code = 1; code <= 7; ++code) {
        EXPECT_EQ(styles->itemText(code - 1), expected[code - 1]) << "code " << code;
        TPlot plot;
        auto series = std::make_unique<TSeries>(plot.Graph(), "s", ssLine, clRed);
        TSeries* raw = series.get();
        plot.Graph().AddLayer(std::move(series));
        TPlotPropertiesDialog styleDialog(plot, SeriesPage);
        Control<QComboBox>(styleDialog, SeriesPage, "cbSeriesStyle")->setCurrentIndex(code - 1);
        styleDialog.Apply();
        EXPECT_EQ(raw->Style(), code) << expected[code - 1].toStdString();
    }
}

TEST_F(PropertiesDialogTest, SeriesEditsReachTheSeriesAndItsLegendEntry) {
    auto dialog = Open(SeriesPage);
    Control<QListWidget>(*dialog, SeriesPage, "lbSeries")->setCurrentRow(1);
    Control<QComboBox>(*dialog, SeriesPage, "cbSeriesStyle")->setCurrentIndex(ssBar - 1);
    Control<QLineEdit>(*dialog, SeriesPage, "edSeriesName")->setText("tan(x)");
    Control<QComboBox>(*dialog, SeriesPage, "cbMarkerStyle")->setCurrentIndex(msDiamond);
    Control<QComboBox>(*dialog, SeriesPage, "cbLineStyle")->setCurrentIndex(psDot);
    dialog->Apply();
    EXPECT_EQ(m_cosine->Style(), ssBar);
    EXPECT_EQ(m_cosine->Name(), "tan(x)");
    EXPECT_EQ(m_cosine->MarkerStyle(), msDiamond);
    EXPECT_EQ(m_cosine->LineStyle(), psDot);
    ASSERT_NE(m_cosine->Legend(), nullptr);
    EXPECT_EQ(m_cosine->Legend()->StyleCode, ssBar);
    EXPECT_EQ(m_cosine->Legend()->Caption, "tan(x)");
    EXPECT_EQ(m_cosine->Legend()->LineStyle, psDot);
    EXPECT_EQ(m_sine->Style(), ssLineAndPoint);
    EXPECT_EQ(m_sine->Name(), "sin(x)");
}

TEST_F(PropertiesDialogTest, DeleteRemovesTheSeriesAndItsLegendEntryOnApply) {
    auto dialog = Open(SeriesPage);
    auto* list = Control<QListWidget>(*dialog, SeriesPage, "lbSeries");
    list->setCurrentRow(0);
    Control<QPushButton>(*dialog, SeriesPage, "btDelete")->click();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "cos(x)");
    EXPECT_EQ(Control<QLineEdit>(*dialog, SeriesPage, "edSeriesName")->text(), "cos(x)");
    EXPECT_EQ(m_plot.Graph().LayerCount(), 2);
    dialog->Apply();
    ASSERT_EQ(m_plot.Graph().LayerCount(), 1);
    EXPECT_EQ(m_plot.Graph().Layer(0), m_cosine);
    ASSERT_EQ(m_plot.Legend().Count(), 1);
    EXPECT_EQ(m_plot.Legend().Entry(0).Series, m_cosine);
}

TEST_F(PropertiesDialogTest, DeletingEverySeriesLeavesAnEmptyGraphAndALockedPage) {
    auto dialog = Open(SeriesPage);
    auto* deleteButton = Control<QPushButton>(*dialog, SeriesPage, "btDelete");
    deleteButton->click();
    deleteButton->click();
    deleteButton->click();
    EXPECT_FALSE(Control<QLineEdit>(*dialog, SeriesPage, "edSeriesName")->isEnabled());
    dialog->Apply();
    EXPECT_EQ(m_plot.Graph().LayerCount(), 0);
    EXPECT_EQ(m_plot.Legend().Count(), 0);
}

TEST_F(PropertiesDialogTest, SeriesRemovedByTheHostWhileOpenIsLeftAlone) {
    auto dialog = Open(SeriesPage);
    Control<QLineEdit>(*dialog, SeriesPage, "edSeriesName")->setText("renamed");
    m_plot.Graph().Legend().Delete(m_plot.Legend().IndexOfSeries(m_cosine));
    m_plot.Graph().DeleteLayer(m_plot.Graph().IndexOf(m_cosine));
    dialog->Apply();
    ASSERT_EQ(m_plot.Graph().LayerCount(), 1);
    EXPECT_EQ(m_sine->Name(), "renamed");
}

// ------------------------------------------------------------------------------ legends, settings

TEST_F(PropertiesDialogTest, LegendsAreEditedSeparately) {
    auto dialog = Open(LegendsPage);
    auto* line = Page(*dialog, LegendsPage)->findChild<QGroupBox*>("gbLegend");
    auto* colour = Page(*dialog, LegendsPage)->findChild<QGroupBox*>("gbColorLegend");
    line->findChild<QCheckBox*>("cbVisible")->setChecked(false);
    line->findChild<QComboBox*>("cbLegendStyle")->setCurrentIndex(lsBottom);
    colour->findChild<QCheckBox*>("cbTransparent")->setChecked(true);
    colour->findChild<QCheckBox*>("cbShadowVisible")->setChecked(false);
    dialog->Apply();
    EXPECT_FALSE(m_plot.Legend().Visible());
    EXPECT_EQ(m_plot.Legend().Style, lsBottom);
    EXPECT_FALSE(m_plot.Legend().TransparentBackGround);
    EXPECT_TRUE(m_plot.ColorLegend().Visible());
    EXPECT_EQ(m_plot.ColorLegend().Style, lsRight);
    EXPECT_TRUE(m_plot.ColorLegend().TransparentBackGround);
    EXPECT_FALSE(m_plot.ColorLegend().ShadowVisible);
    EXPECT_TRUE(m_plot.Legend().ShadowVisible);
}

TEST_F(PropertiesDialogTest, SettingsReachThePlot) {
    auto dialog = Open(SettingsPage);
    Control<QLineEdit>(*dialog, SettingsPage, "edMinimumLogValue")->setText("1e-5");
    Control<QCheckBox>(*dialog, SettingsPage, "cbClipMarkers")->setChecked(true);
    Control<QComboBox>(*dialog, SettingsPage, "cbBarStyle")->setCurrentIndex(bsStacked);
    dialog->Apply();
    EXPECT_EQ(m_plot.Graph().MinimumLogValue, 1e-5);
    EXPECT_TRUE(m_plot.Graph().ClipMarkers);
    EXPECT_EQ(m_plot.Graph().BarStyle, bsStacked);
    EXPECT_EQ(m_plot.View3D(), 0);
}

TEST_F(PropertiesDialogTest, NewView3DTurnsTheAxesToThe3DLookAfterTheAxisPagesApplied) {
    auto dialog = Open(SettingsPage);
    Control<QLineEdit>(*dialog, SettingsPage, "edView3D")->setText("50");
    dialog->Apply();
    EXPECT_DOUBLE_EQ(m_plot.View3D(), 50);
    EXPECT_EQ(m_plot.XAxis().Ticks.Direction, tdIN);
    EXPECT_FALSE(m_plot.XAxis().Ticks.MinorVisible);
    EXPECT_FALSE(m_plot.YAxis().MajorLineVisible);
}

TEST_F(PropertiesDialogTest, InfoPageReachesTheBubble) {
    auto dialog = Open(InfoPage);
    Control<QCheckBox>(*dialog, InfoPage, "cbInfoVisible")->setChecked(false);
    Control<QComboBox>(*dialog, InfoPage, "cbInfoPosition")->setCurrentIndex(ipLeftBottom);
    Control<QLineEdit>(*dialog, InfoPage, "edPointName")->setText("Punkt");
    dialog->Apply();
    EXPECT_FALSE(m_plot.Graph().Info.Visible);
    EXPECT_EQ(m_plot.Graph().Info.Position, ipLeftBottom);
    EXPECT_EQ(m_plot.Graph().Info.PointName, "Punkt");
}

// ------------------------------------------------------------------------------------ invalid input

struct InvalidCase {
    const char* Name;
    std::function<void(QDialog&)> Edit;
    const char* MessagePart; ///< the field the message names
};

TEST_F(PropertiesDialogTest, InvalidFieldsAreRefusedAndNothingIsApplied) {
    const InvalidCase cases[] = {
        {"letters", [](QDialog& d) { TypeLimit(d, AxisPage, "cbAutoMin", "edMinimum", "abc"); }, "Minimum"},
        {"empty", [](QDialog& d) { TypeLimit(d, AxisPage, "cbAutoMax", "edMaximum", ""); }, "Maximum"},
        {"overflow", [](QDialog& d) { TypeLimit(d, AxisPage, "cbAutoMin", "edMinimum", "1e999"); },
         "Minimum"},
        {"number and text", [](QDialog& d) { TypeLimit(d, AxisPage, "cbAutoMin", "edMinimum", "2x"); },
         "Minimum"},
        {"equal limits",
         [](QDialog& d) {
             TypeLimit(d, AxisPage, "cbAutoMin", "edMinimum", "3");
             TypeLimit(d, AxisPage, "cbAutoMax", "edMaximum", "3");
         },
         "Maximum"},
        {"reversed limits",
         [](QDialog& d) {
             TypeLimit(d, AxisPage, "cbAutoMin", "edMinimum", "5");
             TypeLimit(d, AxisPage, "cbAutoMax", "edMaximum", "-5");
         },
         "Maximum"},
        {"zero minimum on a logarithmic axis",
         [](QDialog& d) {
             TypeLimit(d, AxisPage, "cbAutoMin", "edMinimum", "0");
             Control<QCheckBox>(d, AxisPage, "cbLog")->setChecked(true);
         },
         "Minimum"},
        {"second axis",
         [](QDialog& d) {
             Control<QRadioButton>(d, Axis2Page, "rbSecondAxis")->setChecked(true);
             TypeLimit(d, Axis2Page, "cbAutoMin", "edMinimum", "?");
             Control<QRadioButton>(d, Axis2Page, "rbFirstAxis")->setChecked(true);
         },
         "Minimum of the Y axis (2)"},
        {"inside position",
         [](QDialog& d) {
             Control<QComboBox>(d, AxisPage, "cbLocation")->setCurrentIndex(alInside);
             Control<QLineEdit>(d, AxisPage, "edPosition")->setText("left");
         },
         "Position"},
        {"View3D text", [](QDialog& d) { Control<QLineEdit>(d, SettingsPage, "edView3D")->setText("much"); },
         "View3D (%)"},
        {"View3D over 100",
         [](QDialog& d) { Control<QLineEdit>(d, SettingsPage, "edView3D")->setText("150"); }, "View3D (%)"},
        {"zero log floor",
         [](QDialog& d) { Control<QLineEdit>(d, SettingsPage, "edMinimumLogValue")->setText("0"); },
         "Minimum log value"},
    };
    for (const InvalidCase& c : cases) {
        TPlot plot;
        plot.Title().Text = "Before";
        TPlotPropertiesDialog dialog(plot, TitlesPage);
        Page(dialog, TitlesPage)
            ->findChild<QGroupBox*>("gbTitle")
            ->findChild<QLineEdit*>("edText")
            ->setText("After");
        c.Edit(dialog);
        QString message;
        EXPECT_FALSE(dialog.Validate(message)) << c.Name;
        EXPECT_TRUE(message.contains(c.MessagePart)) << c.Name << ": " << message.toStdString();
        dialog.Apply();
        EXPECT_EQ(plot.Title().Text, "Before") << c.Name;
        EXPECT_TRUE(plot.XAxis().AutoMin) << c.Name;
        EXPECT_TRUE(plot.XAxis().AutoMax) << c.Name;
        EXPECT_EQ(plot.View3D(), 0) << c.Name;
    }
}

TEST_F(PropertiesDialogTest, ValidFieldsPassValidation) {
    auto dialog = Open(AxisPage);
    TypeLimit(*dialog, AxisPage, "cbAutoMin", "edMinimum", "-1.5e-3");
    TypeLimit(*dialog, AxisPage, "cbAutoMax", "edMaximum", "0");
    Control<QLineEdit>(*dialog, SettingsPage, "edView3D")->setText("100");
    QString message;
    EXPECT_TRUE(dialog->Validate(message)) << message.toStdString();
}

TEST_F(PropertiesDialogTest, OkWithAnInvalidMinimumShowsTheFieldAndStaysOpen) {
    auto dialog = Open(TitlesPage);
    dialog->show();
    TypeLimit(*dialog, AxisPage, "cbAutoMin", "edMinimum", "abc");
    const QString message = ClickAndReadMessage(Button(*dialog, QDialogButtonBox::Ok));
    EXPECT_TRUE(message.contains("Minimum")) << message.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->CurrentPage(), AxisPage);
    EXPECT_TRUE(m_plot.XAxis().AutoMin);

    Control<QLineEdit>(*dialog, AxisPage, "edMinimum")->setText("-1");
    EXPECT_EQ(ClickAndReadMessage(Button(*dialog, QDialogButtonBox::Ok)), "");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(m_plot.XAxis().Minimum(), -1);
}

TEST_F(PropertiesDialogTest, InvalidFieldOnTheHiddenAxisIsBroughtIntoView) {
    auto dialog = Open(AxisPage);
    dialog->show();
    Control<QRadioButton>(*dialog, AxisPage, "rbSecondAxis")->setChecked(true);
    TypeLimit(*dialog, AxisPage, "cbAutoMax", "edMaximum", "x");
    Control<QRadioButton>(*dialog, AxisPage, "rbFirstAxis")->setChecked(true);
    dialog->findChild<QTabWidget*>()->setCurrentWidget(Page(*dialog, InfoPage));
    const QString message = ClickAndReadMessage(Button(*dialog, QDialogButtonBox::Apply));
    EXPECT_TRUE(message.contains("Maximum of the Y axis")) << message.toStdString();
    EXPECT_EQ(dialog->CurrentPage(), AxisPage);
    EXPECT_TRUE(Control<QRadioButton>(*dialog, AxisPage, "rbSecondAxis")->isChecked());
    EXPECT_EQ(Control<QLineEdit>(*dialog, AxisPage, "edMaximum")->text(), "x");
}

// ------------------------------------------------------------------------------------- operations

/// The names of the series the operations page lists.
QStringList OperationsList(QDialog& dialog) {
    auto* list = Control<QListWidget>(dialog, OperationsPage, "tbSeries");
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

/// Takes the series in `row` of the operations page's list as the first or the second operand.
void TakeOperand(QDialog& dialog, int row, const char* button) {
    Control<QListWidget>(dialog, OperationsPage, "tbSeries")->setCurrentRow(row);
    Control<QPushButton>(dialog, OperationsPage, button)->click();
}

TEST_F(PropertiesDialogTest, OperationsWaitForTheirSeries) {
    auto dialog = Open(OperationsPage);
    EXPECT_EQ(OperationsList(*dialog), QStringList({"sin(x)", "cos(x)"}));
    const char* selectionNeeded[] = {"btDeriv2", "btFit", "edDegree"};
    for (const char* name : selectionNeeded)
        EXPECT_FALSE(Control<QWidget>(*dialog, OperationsPage, name)->isEnabled()) << name;
    auto* divide = Control<QPushButton>(*dialog, OperationsPage, "sbDivide");
    TakeOperand(*dialog, 0, "btFirst");
    for (const char* name : selectionNeeded)
        EXPECT_TRUE(Control<QWidget>(*dialog, OperationsPage, name)->isEnabled()) << name;
    EXPECT_FALSE(divide->isEnabled());
    TakeOperand(*dialog, 1, "btSecond");
    EXPECT_TRUE(divide->isEnabled());
    EXPECT_EQ(Control<QLineEdit>(*dialog, OperationsPage, "edSecond")->text(), "cos(x)");
}

TEST_F(PropertiesDialogTest, NewSeriesAreListedOnBothPagesAndDrawnAtOnce) {
    m_plot.resize(300, 200);
    m_plot.Refresh();
    const QImage before = m_plot.Bitmap().copy();
    auto dialog = Open(OperationsPage);
    TakeOperand(*dialog, 0, "btFirst");
    TakeOperand(*dialog, 1, "btSecond");
    Control<QPushButton>(*dialog, OperationsPage, "sbAdd")->click();
    EXPECT_NE(m_plot.Bitmap(), before);
    Control<QPushButton>(*dialog, OperationsPage, "btFit")->click();
    const QStringList expected{"sin(x)", "cos(x)", "sin(x)+cos(x)", "cos(x)Fit1"};
    EXPECT_EQ(OperationsList(*dialog), expected);
    auto* seriesList = Control<QListWidget>(*dialog, SeriesPage, "lbSeries");
    ASSERT_EQ(seriesList->count(), 4);
    EXPECT_EQ(seriesList->item(3)->text(), "cos(x)Fit1");
    EXPECT_EQ(m_plot.Legend().Count(), 4);

    seriesList->setCurrentRow(0);
    Control<QPushButton>(*dialog, SeriesPage, "btDerivative")->click();
    ASSERT_EQ(m_plot.Graph().LayerCount(), 5);
    EXPECT_EQ(m_plot.Graph().Layer(0)->Name(), "sin(x)'");
    EXPECT_EQ(m_plot.Legend().Entry(4).Caption, "sin(x)'");
    EXPECT_EQ(seriesList->item(4)->text(), "sin(x)'");
    EXPECT_EQ(OperationsList(*dialog).front(), "sin(x)'");

    Control<QListWidget>(*dialog, OperationsPage, "tbSeries")->setCurrentRow(2);
    Control<QPushButton>(*dialog, OperationsPage, "btDeriv2")->click();
    EXPECT_EQ(m_plot.Graph().Layer(0)->Name(), "cos(x)'");
    EXPECT_EQ(seriesList->item(5)->text(), "cos(x)'");
}

TEST_F(PropertiesDialogTest, OperationsThatCannotRunSayWhyAndAddNothing) {
    auto dialog = Open(OperationsPage);
    TakeOperand(*dialog, 0, "btFirst");
    TakeOperand(*dialog, 1, "btSecond");
    auto* degree = Control<QLineEdit>(*dialog, OperationsPage, "edDegree");
    struct TCase {
        const char* Button;
        QString Degree;
        QString Message;
    };
    const TCase cases[] = {{"sbDivide", "1", "Can not create Series sin(x)/cos(x)"},
                           {"btFit", "41", "Polynomial degree must be in the range [1..40]"},
                           {"btFit", "0", "Polynomial degree must be in the range [1..40]"},
                           {"btFit", "2.5", "Polynomial degree must be in the range [1..40]"}};
    for (const TCase& c : cases) {
        degree->setText(c.Degree);
        EXPECT_EQ(ClickAndReadMessage(Control<QPushButton>(*dialog, OperationsPage, c.Button)), c.Message)
            << c.Button << " " << c.Degree.toStdString();
    }
    EXPECT_EQ(m_plot.Graph().LayerCount(), 2);
    EXPECT_EQ(OperationsList(*dialog).size(), 2);

    auto* seriesList = Control<QListWidget>(*dialog, SeriesPage, "lbSeries");
    auto* deleteButton = Control<QPushButton>(*dialog, SeriesPage, "btDelete");
    deleteButton->click();
    deleteButton->click();
    EXPECT_EQ(seriesList->count(), 0);
    EXPECT_EQ(ClickAndReadMessage(Control<QPushButton>(*dialog, SeriesPage, "btDerivative")),
              "Select series for create derivative");
    EXPECT_EQ(m_plot.Graph().LayerCount(), 2);
}

TEST_F(PropertiesDialogTest, DeletedOperandsAreForgottenOnApply) {
    auto dialog = Open(OperationsPage);
    TakeOperand(*dialog, 0, "btFirst");
    TakeOperand(*dialog, 1, "btSecond");
    Control<QListWidget>(*dialog, SeriesPage, "lbSeries")->setCurrentRow(0);
    Control<QPushButton>(*dialog, SeriesPage, "btDelete")->click();
    dialog->Apply();
    EXPECT_EQ(OperationsList(*dialog), QStringList({"cos(x)"}));
    EXPECT_EQ(Control<QLineEdit>(*dialog, OperationsPage, "edFirst")->text(), "");
    EXPECT_EQ(Control<QLineEdit>(*dialog, OperationsPage, "edSecond")->text(), "cos(x)");
    EXPECT_FALSE(Control<QPushButton>(*dialog, OperationsPage, "sbAdd")->isEnabled());
}

TEST_F(PropertiesDialogTest, DisabledDerivativeLocksBothDerivativeButtons) {
    m_plot.PropertiesControl.DisabledDerivative = true;
    auto dialog = Open(OperationsPage);
    Control<QListWidget>(*dialog, OperationsPage, "tbSeries")->setCurrentRow(0);
    EXPECT_FALSE(Control<QPushButton>(*dialog, OperationsPage, "btDeriv2")->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(*dialog, OperationsPage, "btFit")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(*dialog, SeriesPage, "btDerivative")->isEnabled());
}

} // namespace
} // namespace mirla
