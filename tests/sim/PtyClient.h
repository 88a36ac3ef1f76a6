#pragma once
// The tool's end of the simulator's pseudo-terminal, in raw mode; every read has a time limit.
#include <QString>
#include <cstdint>
#include <vector>

namespace zorvtest {

using Bytes = std::vector<std::uint8_t>;

class PtyClient {
 public:
  PtyClient() = default;
  ~PtyClient();
  PtyClient(const PtyClient&) = delete;
  PtyClient& operator=(const PtyClient&) = delete;

  bool Open(const QString& path);
  void Write(const Bytes& bytes);
  // Up to `count` bytes, whatever arrived within `timeoutMs`.
  Bytes Read(std::size_t count, int timeoutMs);
  // Reads until nothing arrives for `quietMs` (at most `limitMs` in all); returns what came.
  Bytes Drain(int quietMs, int limitMs = 3000);

 private:
  int fd_ = -1;
};

// A boot frame: command, length, payload, XOR of the payload.
Bytes Frame(std::uint8_t command, const Bytes& payload);

}  // namespace zorvtest
