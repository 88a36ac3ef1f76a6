#include "app/LinkNotice.h"

#include <QCoreApplication>

namespace zorv {

void PostLinkEvent(LinkEvent event, std::uint64_t source) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return;
  QCoreApplication::postEvent(app, new LinkNoticeEvent(std::move(event), source));
}

MessageHook::MessageHook(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

MessageHook::~MessageHook() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool MessageHook::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != LinkNoticeEvent::kType) return QObject::eventFilter(watched, event);
  const auto* notice = static_cast<const LinkNoticeEvent*>(event);
  if (handler_) handler_(notice->Event(), notice->Source());
  return true;
}

}  // namespace zorv
