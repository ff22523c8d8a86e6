#pragma once

#include <QString>

#include <array>

class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace mirla {

/// The widgets of a page that keeps named definitions in a list ("User Vars", "User Funcs").
struct TDefinitionsPageWidgets {
    QLineEdit* Name = nullptr;
    QLineEdit* Expression = nullptr;
    QListWidget* List = nullptr;
    /// "&Add/Modify", "&Delete", "&Save", "&Load", "Save &As", in this order.
    std::array<QPushButton*, 5> Buttons{};
};

/// Lays out such a page: the "Name" and "Expression" fields above, the list with its caption
/// and the column of the five buttons below. The names are the widgets' object names.
TDefinitionsPageWidgets BuildDefinitionsPage(QWidget* page, const QString& nameField,
                                             const QString& expressionField, const QString& list,
                                             const QString& listCaption);

} // namespace mirla
