#include "ui/file_names.h"

#include <QDir>
#include <QFile>

namespace pelorin {

#ifdef _WIN32

std::string PathFromQt(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

QString PathToQt(const std::string& path) { return QString::fromStdString(path); }

#else

std::string PathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString PathToQt(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

#endif

}  // namespace pelorin
