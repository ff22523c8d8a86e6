#pragma once

#include "plotlib/core/DataText.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>

class QProgressDialog;
class QWidget;

namespace mirla {

/// The clipboard's text as UTF-8, cut to its first `ClipboardTextLimit` characters.
std::string ClipboardText();
/// Puts `text` (UTF-8) on the clipboard.
void SetClipboardText(const std::string& text);

/// Reads a data file whole as UTF-8 text (byte-order marks dropped, other codings read as
/// Windows-1252); false with "Can't read file NAME (reason)" in `error` when it cannot be read,
/// is no text or holds no line.
bool ReadDataFile(const QString& path, std::string& text, QString& error);
/// Writes `text` to a temporary beside `path` and renames it over the file; false with "Can not
/// create file NAME (reason)" in `error`.
bool WriteDataFile(const QString& path, std::string_view text, QString& error);

/// A progress bar for long work that shows itself after a second with a "Stop" button, and is
/// gone when the guard is.
class TProgressGuard {
public:
    TProgressGuard(QWidget* parent, const QString& what);
    ~TProgressGuard();
    TProgressGuard(const TProgressGuard&) = delete;
    TProgressGuard& operator=(const TProgressGuard&) = delete;
    /// Reports progress to the bar and lets events run; false once "Stop" was pressed.
    TLineProgress Reporter();

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace mirla
