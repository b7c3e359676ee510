#pragma once
// File names between Qt and the program's logic. The logic keeps a path as bytes:
// UTF-8 on Windows (where it reaches the system through the wide API), the
// system's own bytes elsewhere.
#include <string>

#include <QString>

namespace pelorin {

std::string PathFromQt(const QString& path);
QString PathToQt(const std::string& path);

}  // namespace pelorin
