#include "processes_win.h"

#include <regex>

#include "chat/log_rule.h"

namespace rapporta::test {

std::wstring WithoutTimes(const std::wstring& log) {
  static const std::wregex time(L"\\[[0-9]{2}:[0-9]{2}\\]");
  return std::regex_replace(log, time, L"[00:00]");
}

std::wstring Expected(std::wstring log, const std::vector<Text>& received) {
  Text text = FromWide(log);
  for (const Text& line : received) chat::AppendEntry(text, chat::LogEntry(u"[00:00]", line));
  return std::wstring(Wide(text));
}

}  // namespace rapporta::test
