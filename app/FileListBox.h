#pragma once

#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

class QKeyEvent;

namespace kem {

// A list of the files of one folder, by name. Names are kept as the bytes they are stored under
// and shown in the display code page. Choosing a file, by a mouse click or from the keyboard
// (arrow keys, Enter, ...), runs OnClick.
class FileListBox : public QListWidget {
public:
    explicit FileListBox(QWidget* parent = nullptr);

    void SetFileNames(const std::vector<std::string>& names);
    // The name of the chosen file as stored; empty when none is chosen.
    std::string FileName() const;

    std::function<void()> OnClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose();
};

}  // namespace kem
