#include "config/config_data.h"

#include "base/exception.h"
#include "config/config_text.h"

namespace Ostra {

namespace {

[[noreturn]] void throwReadFailure(const String& key, const char16_t* kindLabel) {
  throw RuntimeException(u"コンフィグデータ '" + key + u"' " + kindLabel + u"の読み込みに失敗しました");
}

}  // namespace

void CConfigData::setString(const String& key, const String& value) { setRaw(key, escapeValue(value)); }

void CConfigData::setNumber(const String& key, int value) { setRaw(key, String::fromInt(value)); }

void CConfigData::setBool(const String& key, bool value) { setRaw(key, value ? u"true" : u"false"); }

void CConfigData::setRaw(const String& key, const String& value) { entries_.insert_or_assign(key, value); }

String CConfigData::getString(const String& key) const {
  const String* stored = find(key);
  if (!stored) throwReadFailure(key, u"(文字列)");
  return unescapeValue(*stored);
}

int CConfigData::getNumber(const String& key) const {
  const String* stored = find(key);
  if (!stored || stored->empty()) throwReadFailure(key, u"(数値)");
  return stored->toInt();
}

bool CConfigData::getBool(const String& key) const {
  const String* stored = find(key);
  if (stored && stored->equals(u"true")) return true;
  if (stored && stored->equals(u"false")) return false;
  throwReadFailure(key, u"(真偽値)");
}

String CConfigData::getRaw(const String& key) const {
  const String* stored = find(key);
  if (!stored) throwReadFailure(key, u"");
  return *stored;
}

bool CConfigData::contains(const String& key) const { return entries_.count(key) != 0; }

const String* CConfigData::find(const String& key) const {
  const auto it = entries_.find(key);
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace Ostra
