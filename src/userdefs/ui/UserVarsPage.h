#pragma once

#include "app/DefinitionsShell.h"
#include "app/PageBase.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace mirla {

/// The "User Vars" page: the list of named user variables with add/modify, delete and the
/// .USR file buttons.
class TUserVarsPage : public TShellPage<TDefinitionsShell> {
    Q_OBJECT
public:
    TUserVarsPage(TDefinitionsShell& shell, QWidget* parent);
    /// Shows the variables as they are now (assignments in expressions add to them).
    void Activate() override;
    /// Start-up: loads the "Variables" file of the settings.
    void Load() override;

    /// "&Add/Modify" (and Enter in either field): evaluates the expression into the name.
    void AddModifyClick();
    /// "&Delete": removes the selected variable.
    void DeleteClick();
    /// "&Save": writes the variables (and the loaded lines that were refused) to the file loaded at start.
    void SaveClick();
    /// "Save &As": writes the same lines to a chosen file and makes it the file of the next start.
    void SaveAsClick();
    /// "&Load": replaces the variables with those of a chosen file.
    void LoadClick();
    /// Rebuilds the list from the variable table.
    void RefreshList();

    QLineEdit* NameField() const { return m_edName; }        ///< edName
    QLineEdit* ExpressionField() const { return m_edValue; } ///< edValue
    QListWidget* List() const { return m_lbVars; }           ///< lbVars

private:
    /// Reads a .USR file into the table and the list, reporting what could not be read.
    void LoadFile(const QString& path);
    void ListDoubleClicked(QListWidgetItem* item);

    QLineEdit* m_edName = nullptr;
    QLineEdit* m_edValue = nullptr;
    QListWidget* m_lbVars = nullptr;
};

/// Writes `path` as key `key` of section "Files" of the settings file, so that the next start
/// loads it; false with the message shown when the settings file cannot be read or written.
bool WriteFilesSetting(QWidget* parent, const std::string& settingsFile, const std::string& key,
                       const QString& path);

} // namespace mirla
