#include "app/WindowPages.h"

#include <QMainWindow>

#include "app/WindowFrame.h"
#include "ui/RefreshControls.h"
#include "ui/files/FileMenu.h"
#include "ui/pages/PageGate.h"
#include "ui/pages/custom/CustomTab.h"
#include "ui/pages/floats/FloatsTab.h"
#include "ui/pages/global/GlobalTab.h"
#include "ui/pages/halverston/HalverstonPage.h"
#include "ui/pages/joysticks/JoysticksTab.h"
#include "ui/pages/quirn/QuirnPage.h"
#include "ui/pages/remote/RemoteTab.h"
#include "ui/pages/tarnovex/TarnovexPage.h"
#include "ui/pages/trims/ZorvTrimTabs.h"
#include "ui/widgets/GatedTabWidget.h"

namespace zorv {

// One line per page, the Zorv tabs in tab order:
//   zorv(Make<JoysticksTab>(zorvtab::kJoysticks));
//   refresher.SetProductPage(productpage::kQuirn, Make<QuirnPage>(productSheet(kQuirn)));
WindowPages AttachPages(PageHost& host, Refresher& refresher, const WindowFrame& frame,
                        QMainWindow& window) {
  WindowPages pages;
  const auto make = [&]<typename Page>(QWidget* sheet) {
    auto page = std::make_shared<Page>(host, sheet);
    pages.push_back(page);
    return page.get();
  };
  const auto tab = [&](int t) { return frame.tabSheets[static_cast<std::size_t>(t)]; };
  const auto sheet = [&](int p) { return frame.productSheets[static_cast<std::size_t>(p)]; };
  refresher.AddZorvTarget(make.operator()<JoysticksTab>(tab(zorvtab::kJoysticks)));
  refresher.AddZorvTarget(make.operator()<GlobalTab>(tab(zorvtab::kGlobal)));
  refresher.AddZorvTarget(make.operator()<HoistTrimTab>(tab(zorvtab::kHoist)));
  refresher.AddZorvTarget(make.operator()<PlowTrimTab>(tab(zorvtab::kPlow)));
  refresher.AddZorvTarget(make.operator()<WingTrimTab>(tab(zorvtab::kWing)));
  refresher.AddZorvTarget(make.operator()<BladeTrimTab>(tab(zorvtab::kBlade)));
  refresher.AddZorvTarget(make.operator()<CustomTab>(tab(zorvtab::kCustom)));
  refresher.AddZorvTarget(make.operator()<FloatsTab>(tab(zorvtab::kFloatModes)));
  refresher.AddZorvTarget(make.operator()<RemoteTab>(tab(zorvtab::kRemoteSlave)));
  auto gate = std::make_shared<PageGate>(host);
  pages.push_back(gate);
  frame.tabs->SetGate(gate->AsGate());
  make.operator()<FileMenu>(&window);  // Open1, Save1, Print1, Export1, CompareWithFile1
  refresher.SetProductPage(productpage::kTarnovex,
                           make.operator()<TarnovexPage>(sheet(productpage::kTarnovex)));
  refresher.SetProductPage(productpage::kQuirn, make.operator()<QuirnPage>(sheet(productpage::kQuirn)));
  refresher.SetProductPage(productpage::kHalverston,
                           make.operator()<HalverstonPage>(sheet(productpage::kHalverston)));
  return pages;
}

}  // namespace zorv
