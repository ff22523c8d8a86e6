#pragma once

#include <QDialog>

class QCheckBox;

namespace mirla {

/// The "Complex Numbers" notice shown on the first switch to complex mode: how to write
/// complex numbers, and a box deciding whether it appears again.
class TfmCompMess : public QDialog {
    Q_OBJECT
public:
    explicit TfmCompMess(QWidget* parent);
    /// The fixed text of the notice, line by line.
    static QStringList NoticeLines();
    /// The state of "Display this message every time you start Mirla".
    bool ShowAgain() const;
    /// Ticks or clears "Display this message every time you start Mirla".
    void SetShowAgain(bool on);

private:
    QCheckBox* m_showAgain;
};

} // namespace mirla
