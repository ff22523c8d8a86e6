#pragma once

#include "app/DefinitionsShell.h"
#include "app/PageBase.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace mirla {

/// The "User Funcs" page: the list of user functions with add/modify, delete and the .FNC
/// file buttons.
class TUserFuncsPage : public TShellPage<TDefinitionsShell> {
    Q_OBJECT
public:
    TUserFuncsPage(TDefinitionsShell& shell, QWidget* parent);
    /// Start-up: loads the "Functions" file of the settings (a missing file silently).
    void Load() override;

    /// "&Add/Modify": adds the definition at the front, replacing one of the same name.
    void AddUserFunction();
    /// "&Delete": removes the selected function.
    void DeleteClick();
    /// "&Save": writes the functions (and the loaded lines that were refused) to the file loaded at start.
    void SaveClick();
    /// "Save &As": writes the same lines to a chosen file and makes it the file of the next start.
    void SaveAsClick();
    /// "&Load": replaces the functions with those of a chosen file.
    void LoadClick();
    /// Rebuilds the list from the functions, in call-resolution order.
    void RefreshFunctionList();

    QLineEdit* NameField() const { return m_edFuncName; }         ///< edFuncName
    QLineEdit* ExpressionField() const { return m_edFuncExpres; } ///< edFuncExpres
    QListWidget* List() const { return m_lbFuncs; }               ///< lbFuncs

private:
    void LoadFile(const QString& path);
    void ListClicked(QListWidgetItem* item);

    QLineEdit* m_edFuncName = nullptr;
    QLineEdit* m_edFuncExpres = nullptr;
    QListWidget* m_lbFuncs = nullptr;
};

} // namespace mirla
