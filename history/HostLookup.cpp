#include "history/HostLookup.h"

#include <netdb.h>
#include <sys/socket.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace zorv::history {
namespace {

struct Answer {
  QString address;
  QString error;
};

Answer Lookup(const QByteArray& host, int flags) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = flags;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(host.constData(), nullptr, &hints, &found);
  if (status != 0 || found == nullptr) return {{}, QString::fromLocal8Bit(::gai_strerror(status))};
  // IPv4 first: a server listening on 127.0.0.1 only is still reached as "localhost".
  const addrinfo* chosen = found;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    if (a->ai_family == AF_INET) {
      chosen = a;
      break;
    }
  }
  char text[NI_MAXHOST] = {};
  const int named = ::getnameinfo(chosen->ai_addr, chosen->ai_addrlen, text, sizeof text, nullptr,
                                  0, NI_NUMERICHOST);
  ::freeaddrinfo(found);
  if (named != 0) return {{}, QString::fromLocal8Bit(::gai_strerror(named))};
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
