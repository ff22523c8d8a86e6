#include "app/TextKeys.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <memory>

namespace mirla {

namespace {

bool IsText(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget);
}

bool IsReadOnlyText(const QWidget* widget) {
    return IsText(widget) && widget->property("readOnly").toBool();
}

QString WithKeys(const QString& caption, const QKeySequence& keys) {
    return caption + QLatin1Char('\t') + keys.toString(QKeySequence::NativeText);
}

void CopyText(QWidget* widget) {
    auto* line = qobject_cast<QLineEdit*>(widget);
    if (line && line->isReadOnly() && !line->hasSelectedText()) {
        QApplication::clipboard()->setText(line->text());
        return;
    }
    // Line edits and text edits share these slots by name.
    QMetaObject::invokeMethod(widget, "copy");
}

} // namespace

TTextCommand TextCommandOf(const QKeyEvent& key, const QWidget* focused) {
    const auto modifiers = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        switch (key.key()) {
        case Qt::Key_C:
            return TTextCommand::Copy;
        case Qt::Key_X:
            return TTextCommand::Cut;
        case Qt::Key_V:
            return TTextCommand::Paste;
        default:
            return TTextCommand::None;
        }
    }
    if (key.key() == Qt::Key_Insert && modifiers == Qt::ControlModifier)
        return TTextCommand::Copy;
    if (key.key() == Qt::Key_Insert && modifiers == Qt::ShiftModifier)
        return TTextCommand::Paste;
    if (modifiers == Qt::ControlModifier && IsReadOnlyText(focused)) {
        if (key.key() == Qt::Key_C)
            return TTextCommand::Copy;
        if (key.key() == Qt::Key_A)
            return TTextCommand::SelectAll;
    }
    return TTextCommand::None;
}

void RunTextCommand(TTextCommand command, QWidget* focused, QLineEdit& inputLine) {
    const bool editable = IsText(focused) && !IsReadOnlyText(focused);
    switch (command) {
    case TTextCommand::Copy:
        if (IsText(focused))
            CopyText(focused);
        break;
    case TTextCommand::Cut:
        if (editable)
            QMetaObject::invokeMethod(focused, "cut");
        else if (IsText(focused))
            CopyText(focused);
        break;
    case TTextCommand::Paste:
        if (editable) {
            QMetaObject::invokeMethod(focused, "paste");
        } else {
            inputLine.paste();
            inputLine.setFocus();
        }
        break;
    case TTextCommand::SelectAll:
        if (IsText(focused))
            QMetaObject::invokeMethod(focused, "selectAll");
        break;
    case TTextCommand::None:
        break;
    }
}

void ShowEditMenu(QLineEdit& edit, const QContextMenuEvent& event) {
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    if (!edit.isReadOnly()) {
        // Ctrl+C and Ctrl+A insert functions in an editable field.
        for (QAction* action : menu->actions()) {
            const QString caption = action->text().section(QLatin1Char('\t'), 0, 0);
            if (caption == QLatin1String("&Copy"))
                action->setText(WithKeys(caption, QKeySequence(QStringLiteral("Ctrl+Shift+C"))));
            else if (caption == QLatin1String("Select All"))
                action->setText(caption);
        }
    }
    menu->exec(event.globalPos());
}

} // namespace mirla
