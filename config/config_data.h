#pragma once

#include <map>

#include "base/string.h"

namespace Ostra {

// What a load came to: the file read; nothing at the path (no such file, or no
// folder on the way); or a file that is there but could not be read (held by
// another program, unreadable, larger than kMaxConfigFileBytes or with more
// than kMaxConfigKeys keys, its lock kept by another process).
enum class LoadResult { Loaded, Missing, Failed };

// Settings and templates are a few KB: a larger file is refused before it is
// read, so that a broken or hostile one cannot hold the program for long.
constexpr long kMaxConfigFileBytes = 16L * 1024 * 1024;
// A settings file holds about fifteen keys: a file of more is refused, so that
// millions of short ones cannot cost hundreds of megabytes.
constexpr size_t kMaxConfigKeys = 10000;

// A configuration document: stored texts by key, ordered by UTF-16 code units
// (a proper prefix first), case-sensitive.  Entries are added, replaced or removed.
// Used by one thread at a time; files are guarded by CProcessExclusion instead.
class CConfigData {
 public:
  using Entries = std::map<String, String>;

  // Each adds the key or replaces its value, so a key always has one entry.
  void setString(const String& key, const String& value);  // stored escaped
  void setNumber(const String& key, int value);            // "%d"
  void setBool(const String& key, bool value);             // "true" / "false"
  void setRaw(const String& key, const String& value);     // stored as given

  // Each throws RuntimeException "コンフィグデータ '<key>' <kind>の読み込みに失敗しました"
  // when the key is missing; the document is unchanged by a failed get.
  // Unescapes every stored text, also one stored raw.
  String getString(const String& key) const;
  // atoi rules ("12abc" is 12, "x" is 0); also fails on an empty stored text.
  int getNumber(const String& key) const;
  // Exactly "true" or "false"; anything else fails.
  bool getBool(const String& key) const;
  String getRaw(const String& key) const;

  bool contains(const String& key) const;
  // Takes the key's entry out; nothing when there is none.
  void remove(const String& key) { entries_.erase(key); }

  // Merges the file's entries into the document under the file's lock, all of
  // them or, when any step fails, none.
  LoadResult read(const String& path);
  LoadResult readDefault();  // read(defaultConfigPath())
  bool load(const String& path) { return read(path) == LoadResult::Loaded; }
  // Writes the document to "<path>.tmp", forces it to disk and then moves it
  // over the target in one step, under the file's lock: the target holds the
  // old or the new text at every moment.  While another program holds a file
  // open the move is retried for a moment, then the temporary file is copied
  // over the target instead.  The temporary file is made new each time, after
  // whatever stood at its name (a leftover file, a link) is removed; a folder
  // there is not ours to remove and fails the save.  False when any step
  // failed, and then no temporary file is left.
  bool save(const String& path);
  bool loadDefault();  // load(defaultConfigPath())
  bool saveDefault();  // save(defaultConfigPath())

  const Entries& entries() const { return entries_; }

 private:
  const String* find(const String& key) const;
  // Moves the entries of a freshly parsed document in, replacing equal keys.
  void mergeFrom(CConfigData& parsed);

  Entries entries_;
};

// The executable's path with its extension changed to "cfg" ("Kairon.exe" gives
// "Kairon.cfg", "kairon" gives "kairon.cfg"); computed on every call.
String defaultConfigPath();

}  // namespace Ostra
