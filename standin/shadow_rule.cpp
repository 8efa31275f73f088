#include "standin/shadow_rule.h"

#include <algorithm>

namespace rapporta::standin {
namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

}  // namespace

Text ServerPath(TextView command) {
  const auto start = command.find_first_not_of(u" \t");
  if (start == TextView::npos) return {};
  if (command[start] == u'"') {
    const auto end = command.find(u'"', start + 1);
    return Text(command.substr(start + 1, end == TextView::npos ? end : end - start - 1));
  }
  // Unquoted: the path ends at ".exe" (it may hold spaces), else at a space.
  Text lower(command);
  std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
  const auto exe = lower.find(u".exe", start);
  if (exe != Text::npos) return Text(command.substr(start, exe + 4 - start));
  const auto space = command.find(u' ', start);
  return Text(command.substr(start, space == TextView::npos ? space : space - start));
}

bool SamePath(TextView a, TextView b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

std::optional<Text> ForeignServer(const std::vector<Text>& commands, TextView own) {
  for (const auto& command : commands) {
    Text server = ServerPath(command);
    if (server.empty() || !SamePath(server, own)) return server;
  }
  return std::nullopt;
}

std::optional<Text> RealHostAtStart(const StartFacts& facts) {
  if (facts.underWine && !facts.checkAnyway) return std::nullopt;
  return ForeignServer(facts.machineCommands, facts.ownPath);
}

}  // namespace rapporta::standin
