#pragma once

#include <QString>

class QContextMenuEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;

namespace mirla {

/// What a clipboard key asks of the focused text in a window whose plain Ctrl+letter keys insert
/// functions.
enum class TTextCommand { None, Copy, Cut, Paste, SelectAll };

/// The clipboard command of `key` in `focused`: Ctrl+Shift+C and Ctrl+Insert copy, Ctrl+Shift+X
/// cuts, Ctrl+Shift+V and Shift+Insert paste; in read-only text plain Ctrl+C copies and Ctrl+A
/// selects all too. None for every other key.
TTextCommand TextCommandOf(const QKeyEvent& key, const QWidget* focused);

/// Carries out `command` on `focused` when it is a text field. Copying from a read-only line with
/// nothing selected copies its whole text; pasting where nothing editable has the focus pastes
/// into `inputLine` and focuses it.
void RunTextCommand(TTextCommand command, QWidget* focused, QLineEdit& inputLine);

/// Shows the edit menu of `edit` for `event`, naming the keys that really do each command there.
void ShowEditMenu(QLineEdit& edit, const QContextMenuEvent& event);

} // namespace mirla
