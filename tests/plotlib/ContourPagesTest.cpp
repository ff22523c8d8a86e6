#include "plotlib/Contour.h"
#include "plotlib/Plot.h"
#include "plotlib/PropertiesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <memory>

namespace mirla {
namespace {

/// A plot holding a contour map of Z = X + Y over 0..4 x 0..4 with 4 levels.
class ContourPagesTest : public testing::Test {
protected:
    ContourPagesTest() {
        std::vector<double> axis{0, 1, 2, 3, 4}, z;
        for (double x : axis)
            for (double y : axis)
                z.push_back(x + y);
        auto layer = std::make_unique<TContour>(m_plot.Graph(), false, 4, TContourGrid(axis, axis, z));
        m_map = layer.get();
        m_plot.AddContour(std::move(layer));
        m_dialog = std::make_unique<TPlotPropertiesDialog>(m_plot, ContourPage);
    }

    template <typename T> T* Control(const char* name) {
        T* control = m_dialog->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    TPlot m_plot;
    TContour* m_map = nullptr;
    std::unique_ptr<TPlotPropertiesDialog> m_dialog;
};

TEST_F(ContourPagesTest, PagesSitAtTheirIndices) {
    EXPECT_EQ(m_dialog->CurrentPage(), ContourPage);
    auto* tabs = m_dialog->findChild<QTabWidget*>();
    EXPECT_EQ(tabs->tabText(tabs->indexOf(m_dialog->findChild<QWidget*>("tsPage4"))).remove('&'),
              "Color Map");
    EXPECT_EQ(tabs->tabText(tabs->indexOf(m_dialog->findChild<QWidget*>("tsPage7"))).remove('&'), "Contour");
    TPlot empty;
    TPlotPropertiesDialog plain(empty, ContourPage);
    EXPECT_EQ(plain.findChild<QWidget*>("tsPage7"), nullptr);
}

TEST_F(ContourPagesTest, ApplyingLevelsAndColoursTracesAgain) {
    EXPECT_FALSE(m_map->Lines().empty());
    Control<QCheckBox>("cbAutoLevels")->setChecked(false);
    Control<QCheckBox>("cbUserLevels")->setChecked(true);
    Control<QPlainTextEdit>("meUserLevels")->setPlainText("2.5\n5.5");
    Control<QSpinBox>("seLabelDigits")->setValue(1);
    Control<QCheckBox>("cbShading")->setChecked(true);
    Control<QComboBox>("cbPalette")->setCurrentIndex(3);
    Control<QComboBox>("cbQuality")->setCurrentIndex(4);
    QString message;
    ASSERT_TRUE(m_dialog->Validate(message)) << message.toStdString();
    m_dialog->Apply();
    ASSERT_EQ(m_map->Lines().size(), 2u);
    EXPECT_EQ(m_map->Lines()[0].Label->Text, "2.5");
    EXPECT_TRUE(m_map->Shading);
    EXPECT_EQ(m_map->Palette, 3);
    EXPECT_EQ(m_map->SquareSize, 8);
}

TEST_F(ContourPagesTest, AFixedLimitMustBeANumber) {
    Control<QLineEdit>("edLevelMin")->setText("low");
    QString message;
    EXPECT_FALSE(m_dialog->Validate(message));
    EXPECT_TRUE(message.contains("Minimum")) << message.toStdString();
    Control<QLineEdit>("edLevelMin")->setText("1");
    Control<QCheckBox>("cbFixedMin")->setChecked(true);
    m_dialog->Apply();
    EXPECT_EQ(m_map->MinZ(), 1);
}

} // namespace
} // namespace mirla
