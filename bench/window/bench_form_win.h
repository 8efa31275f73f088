#pragma once
// The real Form1 in the benchmark's process, connected to a host that only
// answers its call sign: what the window does with the log, without COM.
#include <windows.h>

#include <memory>

#include "common/text.h"
#include "host/host.h"
#include "ui/form1_win.h"

namespace rapporta::bench {

class BenchForm {
 public:
  BenchForm();
  BenchForm(const BenchForm&) = delete;
  BenchForm& operator=(const BenchForm&) = delete;

  ui::Form1& Form() { return *form_; }
  HWND Log() const { return form_->Control(ui::lChat); }
  // As the host raising ChatTextReceived.
  void Receive(TextView text) { events_->ChatTextReceived(text); }
  // Lets every queued entry reach the box and the window paint it.
  void Settle();
  // Puts this text in the box, outside any measurement.
  void Reset(TextView text);

 private:
  host::HostEvents* events_ = nullptr;
  std::unique_ptr<ui::Form1> form_;
};

// Short lines of chat, length characters in all.
Text ChatLines(std::size_t length);
// One received line of ordinary length; n makes it differ from the others.
Text ChatLine(int n);

}  // namespace rapporta::bench
