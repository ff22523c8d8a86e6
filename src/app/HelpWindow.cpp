#include "app/HelpWindow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// The help text is compiled into the static window library, whose resources the linker keeps
// only when they are registered explicitly (the macro must stand outside any namespace).
static void RegisterHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace mirla {

namespace {

const char* const HelpPage = "qrc:/help/mirla.html";

/// The section of the help text that a topic number opens; unknown topics open the contents.
QString TopicAnchor(int topic) {
    switch (topic) {
    case 3:
        return "variables";
    case 8:
        return "constants";
    case 10:
        return "plotfx";
    case 18:
        return "contour";
    case 19:
        return "shading";
    case 20:
        return "surface";
    case 21:
        return "tape";
    default:
        return "contents";
    }
}

/// The help window: the help text with links, and buttons to move around in it.
class THelpWindow : public QDialog {
public:
    explicit THelpWindow(QWidget* parent) : QDialog(parent) {
        setObjectName("HelpWindow");
        setWindowTitle("Mirla Help");
        setModal(false);
        m_browser = new QTextBrowser(this);
        m_browser->setObjectName("HelpText");
        m_browser->setOpenExternalLinks(true);
        auto* contents = new QPushButton("&Contents", this);
        auto* back = new QPushButton("&Back", this);
        auto* forward = new QPushButton("&Forward", this);
        auto* close = new QPushButton("Close", this);
        back->setEnabled(false);
        forward->setEnabled(false);
        connect(contents, &QPushButton::clicked, this, [this] { ShowTopic(0); });
        connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
        connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
        connect(close, &QPushButton::clicked, this, &QDialog::close);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(contents);
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addStretch();
        buttons->addWidget(close);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_browser);
        layout->addLayout(buttons);
        resize(720, 560);
    }

    /// Shows the section of a topic at the top of the text.
    void ShowTopic(int topic) {
        QUrl url(HelpPage);
        url.setFragment(TopicAnchor(topic));
        m_browser->setSource(url);
    }

private:
    QTextBrowser* m_browser;
};

} // namespace

void ShowHelpTopic(QWidget* parent, int topic) {
    // One window serves every request; it lives with the window that first asked for it.
    static QPointer<THelpWindow> window;
    if (!window) {
        RegisterHelpResources();
        window = new THelpWindow(parent ? parent->window() : nullptr);
    }
    // Shown first, so that the text is laid out when it scrolls to the topic.
    window->show();
    window->ShowTopic(topic);
    window->raise();
    window->activateWindow();
}

} // namespace mirla
