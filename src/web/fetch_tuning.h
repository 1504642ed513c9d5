#pragma once
// The limits of a page fetch and hooks for watching one. Production code uses the
// defaults; tests shorten the bounds and count the reads of the body.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace shop {

struct FetchTuning {
  std::chrono::milliseconds connect_timeout{15'000};
  std::chrono::milliseconds total_timeout{60'000};     // the whole exchange
  long low_speed_bytes_per_second = 1;                 // abort below this rate ...
  std::chrono::seconds low_speed_time{30};             // ... kept up for this long
  std::size_t max_body_bytes = std::size_t{32} << 20;  // a larger body is a failure
  long max_redirects = 10;
  std::chrono::milliseconds poll_pause{1};  // after each empty read of the body
  // Certificates trusted for https instead of the system's (a file of PEM
  // certificates); empty: the system's. Only a benchmark's own server needs it.
  std::string ca_file;

  // Called after every read of the body, before the pause.
  std::function<void()> on_body_read;
};

// The tuning that fetch_page(request) uses; process-wide, safe to read from many
// threads. Setting it returns the tuning in force before.
FetchTuning default_fetch_tuning();
FetchTuning set_default_fetch_tuning(FetchTuning tuning);

// Installs a default tuning for one scope and puts the old one back at its end.
class ScopedFetchTuning {
 public:
  explicit ScopedFetchTuning(FetchTuning tuning)
      : previous_(set_default_fetch_tuning(std::move(tuning))) {}
  ~ScopedFetchTuning() { set_default_fetch_tuning(std::move(previous_)); }
  ScopedFetchTuning(const ScopedFetchTuning&) = delete;
  ScopedFetchTuning& operator=(const ScopedFetchTuning&) = delete;

 private:
  FetchTuning previous_;
};

}  // namespace shop
