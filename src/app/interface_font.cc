#include "app/interface_font.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

namespace tw {

QString RegisterInterfaceFont(const QString& regular_path, const QString& bold_path) {
  const int id = QFontDatabase::addApplicationFont(regular_path);
  if (id < 0) return {};
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (families.isEmpty()) return {};
  if (QFileInfo::exists(bold_path)) QFontDatabase::addApplicationFont(bold_path);
  return families.first();
}

}  // namespace tw
