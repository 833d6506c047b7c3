#ifndef TUNEWRIGHT_DATA_INI_FILE_H_
#define TUNEWRIGHT_DATA_INI_FILE_H_

#include <vector>

#include <QString>

namespace tw {

// An INI file kept as its lines, so that rewriting a key leaves every other line (comments,
// order, unknown keys) as it was. Written as UTF-8 with a byte-order mark and CR LF line ends;
// read leniently: with or without the mark, with CR LF, LF or CR line ends, blanks around "=".
// Group and key names compare without regard to case, as INI readers have always done.
class IniFile {
 public:
  // Reads `path`; false (and an empty file in memory) when it cannot be read.
  bool Load(const QString& path);
  // Writes the whole file to a new file beside `path` and then replaces `path` with it, so a
  // failure at any moment leaves either the old or the new file, never a truncated one.
  bool Save(const QString& path) const;

  // The value of `key` in `group`, trimmed; `fallback` when the key is missing.
  QString Value(const QString& group, const QString& key, const QString& fallback,
                bool* found = nullptr) const;
  // Rewrites the key in place, adds it to the end of its group, or adds the group at the end.
  void SetValue(const QString& group, const QString& key, const QString& value);
  void AddComment(const QString& text);

  const std::vector<QString>& Lines() const { return lines_; }

 private:
  // Index of the line "[group]", or -1.
  int FindGroup(const QString& group) const;
  // The first line after the group's header that opens the next group (or the line count).
  int GroupEnd(int header) const;

  std::vector<QString> lines_;
};

}  // namespace tw

#endif  // TUNEWRIGHT_DATA_INI_FILE_H_
