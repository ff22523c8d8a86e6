#pragma once

#include <QWidget>

namespace mirla {

class TCalcShell;

/// A page of the main window's page control. The main window calls Activate() whenever the
/// page becomes the active one, and Load()/Save() at start-up and close.
class TCalcPage : public QWidget {
public:
    TCalcPage(TCalcShell& shell, QWidget* parent) : QWidget(parent), m_shell(shell) {}
    /// The page became the active page (focus its first field, refresh what it shows).
    virtual void Activate() {}
    /// Start-up: fill the page from the settings and files (after the engine is set up).
    virtual void Load() {}
    /// Close: put the page's state into the settings.
    virtual void Save() {}
    /// The input line changed (some pages mirror it).
    virtual void InputLineChanged(const QString& /*text*/) {}

protected:
    TCalcShell& Shell() { return m_shell; }

private:
    TCalcShell& m_shell;
};

} // namespace mirla
