#pragma once

#include <QWidget>
#include <span>
#include <string>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace kem {

// The raw text window "GPS tekstas": shows the received lines while it is visible, and has the
// check box that asks for a recording of what the receiver sends (its owner makes it).
class TFormMemo : public QWidget {
    Q_OBJECT

public:
    // More lines than this and the window starts again from empty.
    static constexpr int kMaxLines = 200;

    explicit TFormMemo(QWidget* parent = nullptr);

    // Appends one batch of received lines (Windows-1257 bytes, no line ends); clears everything
    // once the window holds more than kMaxLines lines.
    void echoLines(std::span<const std::string> lines);
    // Brings the caret, which stands after the newest line, into view.
    void scrollToCaret();

    int lineCount() const { return m_lineCount; }

    // Whether "Įrašyti NMEA" is ticked; untickRecord clears it as the user would (recordToggled
    // follows).
    bool recordTicked() const;
    void untickRecord();

signals:
    void recordToggled(bool on);

private:
    void Button1Click();

    QPlainTextEdit* InMemo = nullptr;
    QPushButton* Button1 = nullptr;
    QCheckBox* cbRecord = nullptr;
    int m_lineCount = 0;
};

}  // namespace kem
