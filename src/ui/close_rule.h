#pragma once
// When the window may close. Never under a running handler (which may be
// waiting for the host, or showing a dialog of its own) nor inside one of
// the system's own modal loops (a menu, moving or sizing the window): the
// window would go from under them. A close asked meanwhile, by the user or
// by the host, is carried out as soon as they have all ended.
namespace rapporta::ui {

class CloseRule {
 public:
  enum Loop { kSizeMove = 1, kMenu = 2, kLogMenu = 4 };

  void Enter() { ++running_; }
  // Each returns true when a close asked meanwhile is due now.
  bool Leave() {
    --running_;
    return Due();
  }
  bool SetInLoop(Loop loop, bool inside) {
    loops_ = inside ? loops_ | loop : loops_ & ~loop;
    return Due();
  }
  // True when the window may close at once; else the close waits.
  bool RequestClose() {
    pending_ = true;
    return Due();
  }
  bool Running() const { return running_ > 0; }

 private:
  bool Due() {
    if (running_ > 0 || loops_ != 0 || !pending_) return false;
    pending_ = false;
    return true;
  }

  int running_ = 0;
  int loops_ = 0;
  bool pending_ = false;
};

}  // namespace rapporta::ui
