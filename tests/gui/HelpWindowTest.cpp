#include "gui/GuiTestSupport.h"

#include "app/HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDialog>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <memory>

using namespace mirla;
using mirla::test::TModalWatchdog;

namespace {

QList<QWidget*> HelpWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "HelpWindow")
            windows.append(widget);
    return windows;
}

/// The block of the document that carries the anchor `name`, or an invalid block.
QTextBlock AnchorBlock(const QTextDocument* document, const QString& name) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name))
                return block;
    return {};
}

} // namespace

class THelpWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TModalWatchdog> m_watchdog;
    std::unique_ptr<QWidget> m_owner;

private slots:
    void initTestCase() {
        m_watchdog = std::make_unique<TModalWatchdog>();
        m_owner = std::make_unique<QWidget>();
    }
    void cleanupTestCase() {
        QVERIFY2(!m_watchdog->SawUnexpected(), qPrintable(m_watchdog->LastText()));
        m_owner.reset();
    }

    void eachTopicOpensItsSectionAtTheTop_data() {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("anchor");
        QTest::addColumn<QString>("heading");
        QTest::newRow("contents") << 0 << "contents"
                                  << "Mirla Help";
        QTest::newRow("variables") << 3 << "variables"
                                   << "Variables";
        QTest::newRow("constants") << 8 << "constants"
                                   << "Constants";
        QTest::newRow("f(X) plots") << 10 << "plotfx"
                                    << "Plot f(X)";
        QTest::newRow("contour plots") << 18 << "contour"
                                       << "Contour Plot f(X,Y)";
        QTest::newRow("colour shading") << 19 << "shading"
                                        << "Color Shading f(X,Y)";
        QTest::newRow("surfaces") << 20 << "surface"
                                  << "Surface";
        QTest::newRow("tape") << 21 << "tape"
                              << "The tape, history and results";
        QTest::newRow("unknown topic") << 99 << "contents"
                                       << "Mirla Help";
    }
    void eachTopicOpensItsSectionAtTheTop() {
        QFETCH(int, topic);
        QFETCH(QString, anchor);
        QFETCH(QString, heading);
        ShowHelpTopic(m_owner.get(), topic);
        const QList<QWidget*> windows = HelpWindows();
        QCOMPARE(windows.size(), 1);
        QWidget* window = windows.first();
        QVERIFY(window->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto* browser = window->findChild<QTextBrowser*>("HelpText");
        QVERIFY(browser);
        QCOMPARE(browser->source().fragment(), anchor);

        const QTextBlock block = AnchorBlock(browser->document(), anchor);
        QVERIFY2(block.isValid(), qPrintable("no section " + anchor));
        QCOMPARE(block.text(), heading);
        QVERIFY(block.blockFormat().headingLevel() > 0);
        const QRectF rect = browser->document()->documentLayout()->blockBoundingRect(block);
        const int top = int(rect.top()) - browser->verticalScrollBar()->value();
        QVERIFY2(top >= 0 && top < browser->viewport()->height(),
                 qPrintable(QString("heading at %1 of %2").arg(top).arg(browser->viewport()->height())));
    }

    void theWindowIsReusedAndNotModal() {
        ShowHelpTopic(m_owner.get(), 3);
        ShowHelpTopic(nullptr, 8);
        QCOMPARE(HelpWindows().size(), 1);
        QVERIFY(!HelpWindows().first()->isModal());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void calculatorSymbolsAreShownAsTyped() {
        ShowHelpTopic(m_owner.get(), 0);
        const QString text =
            HelpWindows().first()->findChild<QTextBrowser*>("HelpText")->document()->toPlainText();
        for (const QString& symbol : {QStringLiteral("3\u00B2"), QStringLiteral("16\u00BD"),
                                      QStringLiteral("2\u00B3"), QStringLiteral("\u00B6")})
            QVERIFY2(text.contains(symbol), qPrintable(symbol));
    }

    void everyLinkOfTheContentsLeadsToASection() {
        ShowHelpTopic(m_owner.get(), 0);
        auto* browser = HelpWindows().first()->findChild<QTextBrowser*>("HelpText");
        const QTextDocument* document = browser->document();
        int links = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QString href = it.fragment().charFormat().anchorHref();
                if (!href.startsWith('#'))
                    continue;
                ++links;
                QVERIFY2(AnchorBlock(document, href.mid(1)).isValid(), qPrintable("broken link " + href));
            }
        QVERIFY(links >= 20);
    }
};

QTEST_MAIN(THelpWindowTest)
#include "HelpWindowTest.moc"
