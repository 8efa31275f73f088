#pragma once
// How long a window's message loop leaves a caller waiting: another thread
// (or process) asks it for an answer every 2 ms and keeps the longest wait.
#include <windows.h>

#include <atomic>
#include <thread>

#include "bench_util_win.h"

namespace rapporta::bench {

class LoopProbe {
 public:
  explicit LoopProbe(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            const double began = NowMs();
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
            const double waited = NowMs() - began;
            if (waited > longest_) longest_ = waited;
            ++probes_;
            Sleep(2);
          }
        }) {}
  ~LoopProbe() { Stop(); }
  LoopProbe(const LoopProbe&) = delete;
  LoopProbe& operator=(const LoopProbe&) = delete;
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  double Longest() const { return longest_; }
  long Probes() const { return probes_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<double> longest_{0};
  std::atomic<long> probes_{0};
  std::thread thread_;
};

}  // namespace rapporta::bench
