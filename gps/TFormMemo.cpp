#include "gps/TFormMemo.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextCursor>
#include <QVBoxLayout>

#include "base/ui/Cp1257.h"
#include "base/ui/WindowLook.h"

namespace kem {

TFormMemo::TFormMemo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("GPS tekstas"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(look::formFont());
    resize(422, 150);

    InMemo = look::named(new QPlainTextEdit(this), "InMemo");
    InMemo->setReadOnly(true);
    InMemo->setUndoRedoEnabled(false);  // a received-text view: nothing to undo, nothing to keep
    InMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button1 = look::named(new QPushButton(QStringLiteral("&Uždaryti"), this), "Button1");
    cbRecord = look::named(new QCheckBox(QStringLiteral("Į&rašyti NMEA"), this), "cbRecord");

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addSpacing(4);
    buttonRow->addWidget(cbRecord);
    buttonRow->addStretch();
    buttonRow->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(InMemo);
    layout->addLayout(buttonRow);

    connect(Button1, &QPushButton::clicked, this, &TFormMemo::Button1Click);
    connect(cbRecord, &QCheckBox::toggled, this, &TFormMemo::recordToggled);
}

void TFormMemo::echoLines(std::span<const std::string> lines) {
    if (lines.empty()) {
        return;
    }
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) {
        text.append(fromCp1257(line));
    }
    // A new line after the previous batch's last line; the first line of an empty window
    // takes its first paragraph, so an empty line there is kept too.
    QTextCursor cursor(InMemo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText((m_lineCount > 0 ? QStringLiteral("\n") : QString()) +
                      text.join(QLatin1Char('\n')));
    m_lineCount += static_cast<int>(lines.size());
    if (m_lineCount > kMaxLines) {
        InMemo->clear();
        m_lineCount = 0;
    }
    InMemo->moveCursor(QTextCursor::End);
}

void TFormMemo::scrollToCaret() {
    InMemo->ensureCursorVisible();
}

bool TFormMemo::recordTicked() const {
    return cbRecord->isChecked();
}

void TFormMemo::untickRecord() {
    cbRecord->setChecked(false);
}

void TFormMemo::Button1Click() {
    close();
}

}  // namespace kem
