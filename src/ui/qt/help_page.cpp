#include "ui/qt/help_page.h"

#include <QCoreApplication>
#include <QUrl>

#include "ui/qt/qt_units.h"

namespace kazunavi {

std::filesystem::path helpPagePath() {
    const QString folder = QCoreApplication::applicationDirPath();
    return std::filesystem::path(folder.toStdString()) / "help" / "index.html";
}

std::u16string helpPageAddress() {
    const QUrl address = QUrl::fromLocalFile(QString::fromStdString(helpPagePath().string()));
    return u16(QString::fromUtf8(address.toEncoded()));
}

}  // namespace kazunavi
