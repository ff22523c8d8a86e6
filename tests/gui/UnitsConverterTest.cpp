#include "gui/GuiTestSupport.h"

#include "app/CalculatorPage.h"
#include "engine/EvalContext.h"
#include "units/ui/ConvWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace mirla;
using mirla::test::TFakeCalculatorShell;
using mirla::test::TModalWatchdog;

namespace {

constexpr int Width = 12;

/// Row numbers of units used below (their place in the category's list).
constexpr int CM = 4, Foot = 7, Inch = 9, KM = 10, Meter = 13, Fermi = 6, NauticalMile = 18;
constexpr int Celsium = 1, Farhenheit = 2, Kelvin = 3, Rankine = 4, Reaumur = 5;
} // namespace

class TUnitsConverterTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<EvalContext> m_ctx;
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<TfmConv> m_conv;

    QLabel* Label(const char* name) const { return m_conv->findChild<QLabel*>(QString::fromLatin1(name)); }
    QString RowName(int t) const {
        return m_conv->findChild<QLabel*>(QStringLiteral("lbS%1").arg(t))->text();
    }
    QString FieldText(int t) const { return m_conv->Field(t)->text(); }
    QMenu* UnitsMenu() const {
        for (QAction* item : m_conv->findChild<QMenuBar*>()->actions())
            if (item->text() == "&Units")
                return item->menu();
        return nullptr;
    }
    /// Picks a category through its "&Units" menu item.
    void Choose(const QString& caption) {
        for (QAction* item : UnitsMenu()->actions())
            if (item->text() == caption) {
                item->trigger();
                return;
            }
        QFAIL(qPrintable("no menu item " + caption));
    }
    /// Types `text` into field t as the user would.
    void Type(int t, const QString& text) {
        m_conv->Field(t)->setFocus();
        QTest::keyClicks(m_conv->Field(t), text);
    }
    /// Puts `text` into field t at once, as a paste would.
    void Paste(int t, const QString& text) { m_conv->Field(t)->setText(text); }
    int VisibleFields() const {
        int count = 0;
        for (int t = 1; t <= MaxUnitsPerCategory; ++t)
            count += m_conv->Field(t)->isVisible() ? 1 : 0;
        return count;
    }

private slots:
    void init() {
        m_ctx = std::make_unique<EvalContext>();
        m_ctx->NotationMode = NotationFix;
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_conv = std::make_unique<TfmConv>(nullptr, *m_ctx, Width);
        m_conv->show();
        m_conv->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_conv.get()));
    }
    void cleanup() {
        m_conv.reset();
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_watchdog.reset();
        m_ctx.reset();
    }

    void opensOnLengthWithTwentyRows() {
        QCOMPARE(m_conv->windowTitle(), QString("Units Convertor"));
        QCOMPARE(m_conv->CurrentCategory(), int(CategoryLength));
        QCOMPARE(Label("lbUnit")->text(), QString("Length: "));
        QCOMPARE(VisibleFields(), 20);
        QCOMPARE(RowName(1), QString::fromUtf8("A°"));
        QCOMPARE(RowName(Meter), QString("Meter"));
        QCOMPARE(RowName(20), QString("Yard"));
    }

    void unitsMenuListsTheCategoriesInOrder() {
        QStringList captions;
        for (QAction* item : UnitsMenu()->actions())
            captions << item->text();
        QCOMPARE(captions, QStringList({"A&cceleration", "&Area", "&Force", "&Length", "&Mass",
                                        "&Temperature", "T&ime", "&Volume", "&Energy"}));
    }

    void choosingACategoryShowsItsRows_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("lastName");
        QTest::newRow("temperature") << "&Temperature"
                                     << "Temperature: " << 5 << QString::fromUtf8("Réaumur");
        QTest::newRow("acceleration") << "A&cceleration"
                                      << "Acceleration: " << 9 << "km/sec²";
        QTest::newRow("force") << "&Force"
                               << "Force: " << 12 << "Poundal";
        QTest::newRow("energy") << "&Energy"
                                << "Energy: " << 14 << "Ton";
        QTest::newRow("time") << "T&ime"
                              << "Time: " << 18 << "Year";
        QTest::newRow("volume") << "&Volume"
                                << "Volume: " << 20 << QString::fromUtf8("Yard³");
    }
    void choosingACategoryShowsItsRows() {
        QFETCH(QString, caption);
        QFETCH(QString, label);
        QFETCH(int, rows);
        QFETCH(QString, lastName);
        Type(1, "5");
        Choose(caption);
        QCOMPARE(Label("lbUnit")->text(), label);
        QCOMPARE(VisibleFields(), rows);
        for (int t = 1; t <= rows; ++t)
            QVERIFY2(m_conv->Field(t)->isVisible() && FieldText(t).isEmpty(), qPrintable(QString::number(t)));
        QCOMPARE(RowName(rows), lastName);
        for (QAction* item : UnitsMenu()->actions())
            QCOMPARE(item->isChecked(), item->text() == caption);
    }

    void typingConvertsIntoEveryOtherUnit() {
        Type(Meter, "1");
        QCOMPARE(FieldText(Meter), QString("1"));
        QCOMPARE(FieldText(CM), QString("100.0"));
        QCOMPARE(FieldText(Foot), QString("3.280839895"));
        QCOMPARE(FieldText(Inch), QString("39.37007874"));
        QCOMPARE(FieldText(KM), QString("0.001"));
        QCOMPARE(FieldText(NauticalMile), QString("0.0005395941"));
        Type(Inch, "0"); // the inch field now reads 39.370078740: back to one meter
        QCOMPARE(FieldText(Meter), QString("1.0"));
    }

    void resultsFollowTheNotation() {
        m_ctx->NotationMode = NotationScn;
        Type(KM, "1234.5678");
        QCOMPARE(FieldText(Meter), QString("1.2345678E+6"));
    }

    void temperaturesUseTheirFormulas() {
        Choose("&Temperature");
        Type(Celsium, "100");
        QCOMPARE(FieldText(Farhenheit), QString("212.0"));
        QCOMPARE(FieldText(Kelvin), QString("373.15"));
        QCOMPARE(FieldText(Rankine), QString("671.67"));
        QCOMPARE(FieldText(Reaumur), QString("80.0"));
        m_conv->Field(Celsium)->clear();
        Type(Celsium, "-40");
        QCOMPARE(FieldText(Farhenheit), QString("-40.0"));
        m_conv->Field(Rankine)->clear();
        Type(Rankine, "0");
        QCOMPARE(FieldText(Celsium), QString("-273.15"));
    }

    void inputOutsideTheRangeConvertsNothing_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("text");
        QTest::newRow("below absolute zero") << "&Temperature" << Kelvin << "-1";
        QTest::newRow("-300 Celsium") << "&Temperature" << Celsium << "-300";
        QTest::newRow("negative mass") << "&Mass" << 6 << "-2";
        QTest::newRow("not a number") << "&Length" << Meter << "12a";
        QTest::newRow("beyond 1E4000") << "&Length" << Meter << "2E4000";
    }
    void inputOutsideTheRangeConvertsNothing() {
        QFETCH(QString, caption);
        QFETCH(int, unit);
        QFETCH(QString, text);
        Choose(caption);
        Paste(unit, text);
        for (int t = 1; t <= MaxUnitsPerCategory; ++t)
            if (t != unit)
                QVERIFY2(FieldText(t).isEmpty(), qPrintable(QString::number(t) + ": " + FieldText(t)));
        QVERIFY(!m_ctx->ErrorFlag);
    }

    void refusedInputLeavesEarlierResults() {
        Choose("&Temperature");
        Type(Kelvin, "5");
        const QString celsius = FieldText(Celsium);
        QCOMPARE(celsius, QString("-268.15"));
        Paste(Kelvin, "-5");
        QCOMPARE(FieldText(Celsium), celsius);
    }

    void hexadecimalResultsAndOverflowText() {
        m_ctx->NotationMode = NotationScn;
        m_ctx->SetBase(BaseHex);
        m_ctx->PrevValue = 7;
        Type(Meter, "1E10");
        QCOMPARE(FieldText(KM), QString("989680"));
        QCOMPARE(FieldText(Fermi), QString("0.0"));
        // The formatter's overflow is the converter's business only.
        QVERIFY(!m_ctx->ErrorFlag);
        QCOMPARE(m_ctx->PrevValue, Extended(7));
    }

    void unitConvertorButtonOpensAFreshConverter() {
        m_conv.reset();
        TFakeCalculatorShell shell;
        shell.Engine().NotationMode = NotationFix;
        shell.SetDisplayWidth(8);
        TCalculatorPage page(shell, nullptr);
        auto* button = page.findChild<QToolButton*>("sbCut");
        QVERIFY(button);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->toolTip(), QString("Unit Convertor"));
        for (int opening = 1; opening <= 2; ++opening) {
            QString title, unit, foot;
            m_watchdog->Expect([&](QWidget* dialog) {
                auto* conv = qobject_cast<TfmConv*>(dialog);
                QVERIFY(conv);
                title = conv->windowTitle();
                unit = conv->findChild<QLabel*>("lbUnit")->text();
                conv->Field(Meter)->setText("1");
                foot = conv->Field(Foot)->text();
                conv->findChild<QMenuBar*>()->actions().constLast()->menu()->actions().constLast()->trigger();
                conv->reject();
            });
            button->click();
            QCOMPARE(title, QString("Units Convertor"));
            QCOMPARE(unit, QString("Length: ")); // a fresh window each time, even after "&Energy"
            QCOMPARE(foot, QString("3.28084"));  // five decimals at the shell's width 8
        }
        QVERIFY(page.findChildren<TfmConv*>().isEmpty());
        QVERIFY(page.window()->findChildren<TfmConv*>().isEmpty());
    }

    void targetLabelFollowsTheFocus() {
        m_conv->Field(Meter)->setFocus();
        QTRY_COMPARE(Label("lbTo")->text(), QString("Meter to ..."));
        m_conv->Field(CM)->setFocus();
        QTRY_COMPARE(Label("lbTo")->text(), QString("CM to ..."));
        Choose("&Volume");
        QCOMPARE(Label("lbTo")->text(), QString("Deciliter to ..."));
        m_conv->Field(3)->setFocus();
        QTRY_COMPARE(Label("lbTo")->text(), QString::fromUtf8("CM³ to ..."));
    }
};

QTEST_MAIN(TUnitsConverterTest)
#include "UnitsConverterTest.moc"
