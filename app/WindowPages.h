#pragma once
// Every page of the main window, created on its sheet and registered for the refresh.
#include <memory>
#include <vector>

class QMainWindow;

namespace zorv {

class PageHost;
class Refresher;
struct WindowFrame;

// The pages, the notebook's gate and the File menu's commands; the window keeps them for its
// own lifetime.
using WindowPages = std::vector<std::shared_ptr<void>>;

WindowPages AttachPages(PageHost& host, Refresher& refresher, const WindowFrame& frame,
                        QMainWindow& window);

}  // namespace zorv
