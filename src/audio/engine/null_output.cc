#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "audio/engine/output_device.h"
#include "audio/engine/positions.h"

namespace tw::engine {
namespace {

class NullOutput : public OutputDevice {
 public:
  explicit NullOutput(int64_t block_frames) : block_frames_(block_frames) {}
  ~NullOutput() override { Stop(); }

  bool Start(PullFn pull, std::string* error) override {
    if (thread_.joinable()) return true;
    pull_ = std::move(pull);
    running_ = true;
    thread_ = std::thread([this] { Run(); });
    return true;
  }

  void Stop() override {
    running_ = false;
    if (thread_.joinable()) thread_.join();
  }

  int64_t Underruns() const override { return underruns_.load(); }

 private:
  void Run() {
    using Clock = std::chrono::steady_clock;
    std::vector<float> buffer(static_cast<size_t>(block_frames_ * 2));
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(block_frames_) / kMixRate));
    auto deadline = Clock::now();
    while (running_) {
      pull_(buffer.data(), block_frames_);
      deadline += period;
      const auto now = Clock::now();
      if (now > deadline + period) {
        // More than a block behind: a real device would have run dry. Start afresh from now
        // rather than racing to catch up.
        underruns_.fetch_add(1);
        deadline = now;
      }
      std::this_thread::sleep_until(deadline);
    }
  }

  int64_t block_frames_;
  PullFn pull_;
  std::atomic<bool> running_{false};
  std::atomic<int64_t> underruns_{0};
  std::thread thread_;
};

}  // namespace

std::unique_ptr<OutputDevice> MakeNullOutput(int64_t block_frames) {
  return std::make_unique<NullOutput>(block_frames > 0 ? block_frames : 256);
}

}  // namespace tw::engine
