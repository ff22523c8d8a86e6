#pragma once

#include "app/PageBase.h"
#include "app/PageShell.h"

#include <QStringList>

class QPlainTextEdit;
class QPushButton;

namespace mirla {

/// The "Tape" page: a read-only record of evaluations, newest line first, that the user can
/// print, copy, cut and save as a text file.
class TTapePage : public TShellPage<TPageShell> {
    Q_OBJECT
public:
    TTapePage(TPageShell& shell, QWidget* parent);

    void Activate() override;

    /// Puts a line at the top of the tape.
    void AddLine(const QString& line);
    /// The tape's lines, top (newest) first.
    QStringList Lines() const;
    /// Writes the tape lines in order, one per line (UTF-8), replacing the file only when the
    /// whole text was written; false when the file cannot be written.
    bool SaveToFile(const QString& path) const;

private:
    void UpdateButtons();
    void PrintClick();
    void CutClick();
    void ToFileClick();

    QPlainTextEdit* m_mmTape;
    QPushButton* m_btPrint;
    QPushButton* m_btCopy;
    QPushButton* m_btCut;
    QPushButton* m_btToFile;
};

} // namespace mirla
