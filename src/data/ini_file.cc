#include "data/ini_file.h"

#include <QFile>
#include <QSaveFile>

namespace tw {
namespace {

bool IsGroupLine(const QString& line, QString* name = nullptr) {
  const QString t = line.trimmed();
  if (t.size() < 2 || !t.startsWith('[') || !t.endsWith(']')) return false;
  if (name) *name = t.mid(1, t.size() - 2).trimmed();
  return true;
}

bool IsComment(const QString& line) {
  const QString t = line.trimmed();
  return t.startsWith(';') || t.startsWith('#');
}

// Splits "key = value" at the first "="; false for lines that hold no key.
bool SplitKeyLine(const QString& line, QString* key, QString* value) {
  if (IsComment(line) || IsGroupLine(line)) return false;
  const qsizetype eq = line.indexOf('=');
  if (eq <= 0) return false;
  *key = line.left(eq).trimmed();
  *value = line.mid(eq + 1).trimmed();
  return !key->isEmpty();
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A value is one line of the file: line breaks inside it would split it.
QString OneLine(QString value) {
  value.replace(QLatin1String("\r\n"), QLatin1String(" "));
  value.replace('\r', ' ');
  value.replace('\n', ' ');
  return value;
}

}  // namespace

bool IniFile::Load(const QString& path) {
  lines_.clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return false;
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
  QString text = QString::fromUtf8(bytes);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace('\r', '\n');
  if (text.endsWith('\n')) text.chop(1);
  if (!text.isEmpty()) {
    for (const QString& line : text.split('\n')) lines_.push_back(line);
  }
  return true;
}

bool IniFile::Save(const QString& path) const {
  QByteArray bytes("\xEF\xBB\xBF");
  for (const QString& line : lines_) {
    bytes += line.toUtf8();
    bytes += "\r\n";
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

int IniFile::FindGroup(const QString& group) const {
  QString name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (IsGroupLine(lines_[i], &name) && SameName(name, group)) return static_cast<int>(i);
  }
  return -1;
}

int IniFile::GroupEnd(int header) const {
  int i = header + 1;
  while (i < static_cast<int>(lines_.size()) && !IsGroupLine(lines_[i])) ++i;
  return i;
}

QString IniFile::Value(const QString& group, const QString& key, const QString& fallback,
                       bool* found) const {
  if (found) *found = false;
  const int header = FindGroup(group);
  if (header < 0) return fallback;
  const int end = GroupEnd(header);
  QString k, v;
  for (int i = header + 1; i < end; ++i) {
    if (SplitKeyLine(lines_[i], &k, &v) && SameName(k, key)) {
      if (found) *found = true;
      return v;
    }
  }
  return fallback;
}

void IniFile::SetValue(const QString& group, const QString& key, const QString& value) {
  const QString line = key + " = " + OneLine(value);
  int header = FindGroup(group);
  if (header < 0) {
    lines_.push_back("[" + group + "]");
    lines_.push_back(line);
    return;
  }
  const int end = GroupEnd(header);
  int last_entry = header;
  QString k, v;
  for (int i = header + 1; i < end; ++i) {
    if (SplitKeyLine(lines_[i], &k, &v)) {
      if (SameName(k, key)) {
        lines_[i] = line;
        return;
      }
      last_entry = i;
    }
  }
  lines_.insert(lines_.begin() + last_entry + 1, line);
}

void IniFile::AddComment(const QString& text) { lines_.push_back("; " + text); }

}  // namespace tw
