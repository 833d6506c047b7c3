#include "data/data_paths.h"

#include <QDir>

namespace tw {

DataPaths::DataPaths(const QString& root) : root_(QDir(root).absolutePath()) {}

QString DataPaths::Resolve(const QString& relative) const { return QDir(root_).filePath(relative); }

}  // namespace tw
