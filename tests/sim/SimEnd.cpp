#include "SimEnd.h"

#include <algorithm>

namespace zorvtest {
namespace {

std::vector<std::string> Arguments(const QStringList& arguments) {
  std::vector<std::string> out;
  for (const QString& a : arguments) out.push_back(a.toStdString());
  return out;
}

}  // namespace

std::string PtyEnd::Start(const QStringList& arguments) {
  const QString path = sim.Start(arguments);
  if (path.isEmpty()) return "zorv-sim did not start: " + sim.Output().toStdString();
  if (!port.Open(path)) return "cannot open " + path.toStdString();
  return {};
}

std::optional<std::string> PtyEnd::WaitForLine(const std::string& text, int timeoutMs,
                                                int fromLine) {
  const auto line = sim.WaitForLine(QString::fromStdString(text), timeoutMs, fromLine);
  if (!line) return std::nullopt;
  return line->toStdString();
}

CoreEnd::CoreEnd(const QStringList& arguments) : device(clock, Arguments(arguments)) {
  device.Open("in-process");
}

void CoreEnd::Write(const Bytes& bytes) {
  for (const std::uint8_t b : bytes) device.Write(b);
}

Bytes CoreEnd::Read(std::size_t count, int timeoutMs) {
  Bytes got;
  const std::uint32_t deadline = clock.Ticks() + static_cast<std::uint32_t>(timeoutMs);
  std::uint8_t b = 0;
  while (got.size() < count) {
    if (device.Read(b)) {
      got.push_back(b);
      continue;
    }
    const auto left = static_cast<std::int32_t>(deadline - clock.Ticks());
    if (left <= 0 || !device.WaitReadable(static_cast<std::uint32_t>(left))) break;
  }
  return got;
}

Bytes CoreEnd::Drain(int quietMs, int limitMs) {
  Bytes got;
  const std::uint32_t deadline = clock.Ticks() + static_cast<std::uint32_t>(limitMs);
  for (;;) {
    const auto left = static_cast<std::int32_t>(deadline - clock.Ticks());
    if (left <= 0) break;
    const Bytes more = Read(512, std::min(quietMs, static_cast<int>(left)));
    if (more.empty()) break;
    got.insert(got.end(), more.begin(), more.end());
  }
  return got;
}

std::optional<std::string> CoreEnd::LoggedFrom(const std::string& text, int fromLine) const {
  const auto& lines = device.Log();
  for (std::size_t i = static_cast<std::size_t>(std::max(fromLine, 0)); i < lines.size(); ++i) {
    if (lines[i].find(text) != std::string::npos) return lines[i];
  }
  return std::nullopt;
}

std::optional<std::string> CoreEnd::WaitForLine(const std::string& text, int timeoutMs,
                                                int fromLine) {
  const std::uint32_t deadline = clock.Ticks() + static_cast<std::uint32_t>(timeoutMs);
  for (;;) {
    if (auto line = LoggedFrom(text, fromLine)) return line;
    if (static_cast<std::int32_t>(deadline - clock.Ticks()) <= 0) return std::nullopt;
    device.Pass(1);
  }
}

std::string CoreEnd::Output() {
  std::string out;
  for (const std::string& line : device.Log()) out += line + "\n";
  return out;
}

void CoreEnd::Stop() { device.Stop(); }

}  // namespace zorvtest
