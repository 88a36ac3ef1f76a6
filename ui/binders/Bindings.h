#pragma once
// Catalogue rows bound to their controls. A page builds its controls and names them; a
// Bindings object then finds, for each catalogue row of the page, the control the row names and
// binds it by its kind: a check box or a radio button for on/off, an edit box or a spin edit
// for a number, a drop-down for a choice, a bar with its value label (the row's second control)
// for a trim, a frequency or a time. The binder shows the row from the image with the control's signals blocked, so
// showing never writes, and stores what the user does in the row's bytes, then asks for the
// refresh. Adding a setting of a kind the page already has is adding a catalogue row and its
// control.
#include <QObject>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "image/Catalogue.h"
#include "ui/PageHost.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QWidget;

namespace zorv {

class SpinEdit;

class Bindings final : public QObject {
  Q_OBJECT

 public:
  // What a store does after writing: most pages show the whole image again; some never did.
  enum class AfterStore { Refresh, Nothing };
  // When a text box stores: when left (the rule of most boxes), or at every keystroke.
  enum class Typing { StoredOnLeaving, StoredAsTyped };

  // Controls of the window's image.
  explicit Bindings(PageHost& host, AfterStore after = AfterStore::Refresh,
                    Typing typing = Typing::StoredOnLeaving);
  // Controls of a copy a secondary window edits; storing does not refresh.
  explicit Bindings(SettingsImage& copy);

  // Binds every row of `layout` on `page` within `group` (every group when empty) to the
  // controls under `controls` that the row names. A row none of whose controls is there, or
  // one of a kind no binder takes, is an error: the catalogue and the page disagree.
  void BindRows(Layout layout, const std::string& page, const std::string& group,
                QWidget* controls);
  // Binds the rows of `layout` with these keys, where a page's rows differ in how they store.
  void BindKeys(Layout layout, std::initializer_list<const char*> keys, QWidget* controls);

  // What the page does after the user changed row `key` (stored, before the refresh; the hook
  // gets the row as stored): the button modes a joystick type brings, the valve type a
  // frequency of its own no longer is.
  using Hook = std::function<void(const Shown&)>;
  void OnStored(const std::string& key, Hook hook);
  // What the page does when showing changed what row `key`'s control shows.
  void OnShown(const std::string& key, Hook hook);

  // Shows every bound row whose condition holds; the others keep what they show.
  void Show(const SettingsImage& image) const;
  // Shows every bound row, whatever its condition: for a control that always shows its byte,
  // even while another setting decides what the byte will become (the Tarnovex system mode,
  // forced by attitude control at the next refresh).
  void ShowAll(const SettingsImage& image) const;

  // Controls bound: one for each control a bound row names on the page.
  std::size_t Count() const { return bound_.size(); }

 private:
  // Binds each of the row's controls found under `controls` (a row may name a control on
  // several pages; each page binds its own). None found, or one no binder takes, is an error.
  void Bind(const Setting& row, QWidget* controls);
  bool BindControl(const Setting& row, QWidget* control, QLabel* label);
  void BindCheck(const Setting& row, QCheckBox* box);
  void BindText(const Setting& row, QLineEdit* box);
  void BindNumber(const Setting& row, QLineEdit* box);
  void BindChoice(const Setting& row, QComboBox* box);
  void BindRadio(const Setting& row, QRadioButton* on, QRadioButton* off);
  void BindSpin(const Setting& row, SpinEdit* spin);
  void BindBar(const Setting& row, QScrollBar* bar, QLabel* label);
  // Stores through `store` into the window's image, runs the row's hook, then the refresh
  // where the page has one.
  void Store(const Setting& row, const std::function<void(SettingsImage&)>& store);
  static void Run(const std::map<std::string, Hook>& hooks, const Setting& row,
                  const SettingsImage& image);

  struct Bound {
    const Setting* row;
    QWidget* control;
    QWidget* partner;  // quiet too while showing: the label, the other radio button
    std::function<bool(const Shown&)> show;  // true when the control now shows another value
  };
  void ShowRow(const Bound& b, const SettingsImage& image) const;
  std::function<SettingsImage&()> image_;
  std::function<void()> refresh_;  // none where the page does not refresh after storing
  Typing typing_ = Typing::StoredOnLeaving;
  std::vector<Bound> bound_;
  std::map<std::string, Hook> stored_;
  std::map<std::string, Hook> shown_;
};

}  // namespace zorv
