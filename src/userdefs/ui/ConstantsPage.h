#pragma once

#include "app/DefinitionsShell.h"
#include "app/PageBase.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace mirla {

/// The "Constants" page: the sorted lines of the constants file, a find field, paste into the
/// input line, and editing and reloading the file.
class TConstantsPage : public TShellPage<TDefinitionsShell> {
    Q_OBJECT
public:
    TConstantsPage(TDefinitionsShell& shell, QWidget* parent);
    /// Start-up: loads the constants file ("File <...CON> not found." when it cannot be read).
    void Load() override;

    /// Selects the first line beginning with `text` (letter case ignored); warns when none does.
    void Find(const QString& text);
    /// "&Paste" and a click on a line: inserts the selected constant's value into the input line.
    void PasteClick();
    /// "&Edit": starts the user's text editor on the constants file and enables "&Reload".
    void EditClick();
    /// "&Reload": reads the constants file again.
    void ReloadClick();

    /// The value part of a constants line: blanks removed, cut after the first "=" and before
    /// the first ";" (the unit and description).
    static QString ConstantValueText(const QString& line);

    QLineEdit* FindField() const { return m_edFind; } ///< edFind
    QListWidget* List() const { return m_lbConst; }   ///< lbConst
    QPushButton* ReloadButton() const { return m_btReload; }

private:
    /// Fills the list from the file; false when it cannot be read (the list is then empty).
    bool ReadConstants();
    QString NotFoundText();

    QLineEdit* m_edFind = nullptr;
    QListWidget* m_lbConst = nullptr;
    QPushButton* m_btReload = nullptr;
};

} // namespace mirla
