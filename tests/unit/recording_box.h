#pragma once
// A log box that keeps its text as a string and writes down each call it
// gets: A for an append, R for a replace, I for a cut of its head in place.
#include <cstddef>
#include <string>

#include "chat/chat_log.h"

namespace rapporta::test {

class RecordingBox : public chat::LogBox {
 public:
  Text text;
  std::string calls;
  std::size_t handed = 0;  // characters handed over, all calls together

  std::size_t Length() const override { return text.size(); }
  Text Read() const override { return text; }
  void Replace(TextView t) override { Write('R', text.size(), t); }
  void Append(TextView t) override { Write('A', 0, t); }
  void DropFrontAndAppend(std::size_t count, TextView t) override { Write('I', count, t); }

 private:
  void Write(char call, std::size_t drop, TextView t) {
    calls += call;
    handed += t.size();
    text.erase(0, drop).append(t);
  }
};

}  // namespace rapporta::test
