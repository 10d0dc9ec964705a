#include "app/FileListBox.h"

#include <QKeyEvent>

#include "base/ui/Cp1257.h"

namespace kem {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, [this] { choose(); });
}

void FileListBox::SetFileNames(const std::vector<std::string>& names) {
    clear();
    for (const std::string& name : names) {
        auto* item = new QListWidgetItem(fromCp1257(name), this);
        item->setData(Qt::UserRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    }
}

std::string FileListBox::FileName() const {
    const QListWidgetItem* item = currentItem();
    return item == nullptr ? std::string() : item->data(Qt::UserRole).toByteArray().toStdString();
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((enter || currentRow() != before) && currentItem() != nullptr) {
        choose();
    }
}

void FileListBox::choose() {
    if (OnClick) {
        OnClick();
    }
}

}  // namespace kem
