#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace mirla::test {

/// Fails the running test when a modal dialog opens that the test did not expect, and closes
/// it so that the test cannot hang. Tests that expect a dialog call Expect() with a handler.
class TModalWatchdog : public QObject {
    Q_OBJECT
public:
    TModalWatchdog();
    /// The next modal dialog is expected; `handler` gets it (it must close it).
    void Expect(std::function<void(QWidget* dialog)> handler);
    /// True when a dialog opened that nobody expected.
    bool SawUnexpected() const { return m_unexpected; }
    /// The title and text of the last dialog seen.
    QString LastText() const { return m_lastText; }

private:
    void Check();
    QTimer m_timer;
    std::function<void(QWidget*)> m_handler;
    bool m_unexpected = false;
    QString m_lastText;
};

/// A temporary program folder with its own settings, history and user files, so that window
/// tests never touch the user's files.
class TScratchFolder {
public:
    TScratchFolder();
    QString Path() const { return m_dir.path(); }
    /// Writes a text file (UTF-8) in the folder and returns its path.
    QString Write(const QString& name, const QString& text) const;
    /// Reads a file of the folder as UTF-8 text ("" when missing).
    QString Read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace mirla::test
