#pragma once

#include <QWidget>

namespace mirla {

/// A page of the main window's page control. The main window calls Activate() whenever the
/// page becomes the active one, and Load()/Save() at start-up and close.
class TCalcPage : public QWidget {
public:
    explicit TCalcPage(QWidget* parent) : QWidget(parent) {}
    /// The page became the active page (focus its first field, refresh what it shows).
    virtual void Activate() {}
    /// Start-up: fill the page from the settings and files (after the engine is set up).
    virtual void Load() {}
    /// Close: put the page's state into the settings.
    virtual void Save() {}
    /// The input line changed (some pages mirror it).
    virtual void InputLineChanged(const QString& /*text*/) {}
};

/// A page that reaches the main window only through `TShell`, the interface of what it uses.
template <class TShell> class TShellPage : public TCalcPage {
public:
    TShellPage(TShell& shell, QWidget* parent) : TCalcPage(parent), m_shell(shell) {}

protected:
    TShell& Shell() { return m_shell; }

private:
    TShell& m_shell;
};

} // namespace mirla
