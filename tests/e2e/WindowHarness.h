#pragma once
// The whole tool end to end: the real window and link thread against zorv-sim, reached through
// a port alias in a private settings folder, on a pseudo-terminal or with the simulator's core
// in process (see TestController). Scripted prompts answer the about window and the success
// boxes.
#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QSqlQuery>
#include <QStackedWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/LinkNotice.h"
#include "app/ProductionLink.h"
#include "app/ZorvForm.h"
#include "history/HistoryStore.h"
#include "host/HostSettings.h"
#include "image/SwitchFile.h"
#include "link/PortNames.h"
#include "tests/e2e/LinkHarness.h"
#include "tests/e2e/InProcessLink.h"
#include "tests/host/PrivateSettings.h"
#include "tests/support/FocusTakingPrompts.h"
#include "tests/support/ScriptedPrompts.h"

namespace zorv::test {

class WindowHarness {
 public:
  explicit WindowHarness(Where where = Where::RealPort) : where_(where) {}
  ~WindowHarness() { form.reset(); }  // the link goes before the simulator

  // Starts the controller and the window on it, and waits for the first download.
  bool Start(const QStringList& simArguments) {
    const QString port = controller.Start(simArguments + QStringList{"--fast"}, where_,
                                          files.Path().string());
    if (port.isEmpty()) return false;
    if (aliasThroughLink && !PointLinkAt(port)) return false;
    SetPortAlias(kAliasPort, aliasThroughLink ? LinkPath() : port.toStdString());
    WriteSetting(kApplicationName, kComPortSetting, QString::number(kAliasPort));

    prompts.ExpectModal([](QDialog&) { return QDialog::Accepted; });  // about window
    prompts.ExpectMessage();                                         // "Download Successful!"
    form = std::make_unique<TZorvForm>(windowPrompts != nullptr ? *windowPrompts : prompts, clock,
                                       [this](int n) -> std::unique_ptr<LinkControl> {
                                         if (linkMaker) return linkMaker(*form, n);
                                         if (SharedSim* inProcess = controller.InProcess()) {
                                           return std::make_unique<InProcessLink>(*inProcess, n);
                                         }
                                         return StartProductionLink(n);
                                       });
    form->FormCreate();
    hook = std::make_unique<MessageHook>(
        [this](const LinkEvent& event, std::uint64_t source) {
          form->OnLinkEvent(event, source);
        });
    form->show();
    return WaitUntil([&] { return prompts.AllUsed() && LinkIdle(); }, 20000);
  }

  // Start, with the window then the active one, as a user's window is: keys go to it.
  bool StartActive(const QStringList& simArguments) {
    if (!Start(simArguments)) return false;
    Activate(form.get());
    return true;
  }

  // Every event of the window's history so far, oldest first.
  std::vector<history::Event> HistoryEvents() const {
    if (!form->History().Recorder()->Flush(5000)) return {};
    return HistoryEventsIn(form->History().Recorder()->File());
  }
  // The same from the file, also once the window has closed and its recorder is gone.
  static std::vector<history::Event> HistoryEventsIn(const QString& file) {
    std::vector<history::Event> events;
    history::HistoryStore store(file);
    if (store.OpenForReading().mode == history::StoreMode::Closed) return events;
    QSqlQuery list = store.ListQuery({});
    while (list.next()) {
      if (auto event = store.Load(list.value(0).toString())) events.push_back(*event);
    }
    std::reverse(events.begin(), events.end());
    return events;
  }

  bool LinkIdle() const { return form->Link() != nullptr && form->Link()->State() == LinkState::ConnectedIdle; }

  // Presses "&Send Cal" once the link is idle and waits for "Upload Successful!".
  bool SendCal() {
    if (!WaitUntil([&] { return LinkIdle(); }, 10000)) return false;
    prompts.ExpectMessage();
    Find<QAbstractButton>("UploadButton")->click();
    return WaitUntil([&] { return prompts.AllUsed(); }, 20000) &&
           prompts.MessageTexts().back() == "Upload Successful!";
  }

  // Closes the window, then what the controller's settings memory holds.
  SettingsImage ControllerMemory() {
    form.reset();
    return controller.Memory();
  }

  template <typename T>
  T* Find(const char* name) const {
    return form->findChild<T*>(name);
  }
  int ProductPage() const { return Find<QStackedWidget>("ProductNotebook")->currentIndex(); }

  // Set before Start: the alias names a symbolic link in the test's folder that points to the
  // simulator's port, as /dev/serial/by-id/... names a USB adapter.
  bool aliasThroughLink = false;
  std::string LinkPath() const { return files.File("adapter"); }
  bool PointLinkAt(const QString& target) {
    const QString link = QString::fromStdString(LinkPath());
    QFile::remove(link);
    return QFile::link(target, link);
  }

  PrivateSettings settings;
  TempFolder files;
  TestController controller;
  zorvtest::SimProcess& sim = controller.process;  // on a real port
  ScriptedPrompts prompts;
  Prompts* windowPrompts = nullptr;  // what the window uses instead, if set (before Start)
  // The window's links, if not the production link (set before Start).
  std::function<std::unique_ptr<LinkControl>(TZorvForm&, int)> linkMaker;
  SteadyClock clock;
  std::unique_ptr<TZorvForm> form;
  std::unique_ptr<MessageHook> hook;

 private:
  Where where_;
};

}  // namespace zorv::test
