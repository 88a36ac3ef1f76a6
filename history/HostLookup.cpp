#include "history/HostLookup.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace zorv::history {
namespace {

#ifdef _WIN32
// Windows resolves names through its sockets library, which each program starts once.
bool SocketsStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}
// The ANSI text whatever the build's character set.
const char* LookupErrorText(int status) { return gai_strerrorA(status); }
#else
bool SocketsStarted() { return true; }
const char* LookupErrorText(int status) { return ::gai_strerror(status); }
#endif

struct Answer {
  QString address;
  QString error;
};

Answer Lookup(const QByteArray& host, int flags) {
  if (!SocketsStarted()) return {{}, QStringLiteral("the system's sockets library did not start")};
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(host.constData(), nullptr, &hints, &found);
  if (status != 0 || found == nullptr) return {{}, QString::fromLocal8Bit(LookupErrorText(status))};
  // IPv4 first: a server listening on 127.0.0.1 only is still reached as "localhost".
  const addrinfo* chosen = found;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    if (a->ai_family == AF_INET) {
      chosen = a;
      break;
    }
  }
  char text[NI_MAXHOST] = {};
  const int named = ::getnameinfo(chosen->ai_addr, static_cast<socklen_t>(chosen->ai_addrlen), text,
                                  sizeof text, nullptr, 0, NI_NUMERICHOST);
  ::freeaddrinfo(found);
  if (named != 0) return {{}, QString::fromLocal8Bit(LookupErrorText(named))};
  return {QString::fromLatin1(text), {}};
}

}  // namespace

QString ResolveHost(const QString& host, int timeoutMs, QString& error) {
  // A numeric address needs no name server.
  if (const Answer numeric = Lookup(host.toUtf8(), AI_NUMERICHOST); !numeric.address.isEmpty()) {
    return numeric.address;
  }
  // The lookup owns what it needs: when it outlives the limit it finishes on its own.
  auto promise = std::make_shared<std::promise<Answer>>();
  std::future<Answer> answer = promise->get_future();
  std::thread([promise, name = host.toUtf8()] { promise->set_value(Lookup(name, 0)); }).detach();
  if (answer.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) {
    error = "the name " + host + " was not resolved within " + QString::number(timeoutMs / 1000.0) +
            " s";
    return {};
  }
  const Answer got = answer.get();
  if (got.address.isEmpty()) error = "the name " + host + " does not resolve (" + got.error + ")";
  return got.address;
}

}  // namespace zorv::history
