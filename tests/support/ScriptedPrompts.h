#pragma once
// Prompts for GUI tests: each expected interaction is queued with its answer; a dialog the test
// did not expect fails the test instead of blocking on a window nobody will close.
#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/Prompts.h"

namespace zorv::test {

class ScriptedPrompts final : public Prompts {
 public:
  enum class Call { Message, Confirm, Choose, QueryText, OpenFile, SaveFile, PrinterSetup, Modal };

  struct Shown {
    Call call;
    Kind kind = Kind::Information;
    QString title;
    QString text;     // message text, query prompt, or dialog filter
    QString initial;  // query's pre-filled text, the dialog's initial path, or the buttons
  };

  ~ScriptedPrompts() override {
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never used";
  }

  // Queue the answers, in the order the dialogs will come.
  void ExpectMessage() { answers_.push_back({Call::Message, {}, {}, {}, -1, {}}); }
  // `whileOpen` runs while the box is up (say, the window's events for a while).
  void ExpectMessage(std::function<void()> whileOpen) {
    answers_.push_back({Call::Message, {}, {}, {}, -1, std::move(whileOpen)});
  }
  void ExpectConfirm(bool yes, std::function<void()> whileOpen = {}) {
    answers_.push_back({Call::Confirm, yes, {}, {}, -1, std::move(whileOpen)});
  }
  // Presses the button of that index (-1: closes the box).
  void ExpectChoice(int index, std::function<void()> whileOpen = {}) {
    answers_.push_back({Call::Choose, false, {}, {}, index, std::move(whileOpen)});
  }
  void ExpectQuery(std::optional<QString> text) {
    answers_.push_back({Call::QueryText, false, std::move(text), {}, -1, {}});
  }
  void ExpectOpenFile(QString path) { answers_.push_back({Call::OpenFile, false, path, {}, -1, {}}); }
  void ExpectSaveFile(QString path) { answers_.push_back({Call::SaveFile, false, path, {}, -1, {}}); }
  void ExpectPrinterSetup(bool ok) { answers_.push_back({Call::PrinterSetup, ok, {}, {}, -1, {}}); }
  // `act` runs on the dialog instead of its event loop (read it, click in it); returns the result.
  void ExpectModal(std::function<int(QDialog&)> act) {
    answers_.push_back({Call::Modal, false, {}, std::move(act), -1, {}});
  }

  void Message(Kind kind, const QString& title, const QString& text) override {
    shown.push_back({Call::Message, kind, title, text, {}});
    const Answer answer = Take(Call::Message);
    if (answer.whileOpen) answer.whileOpen();
  }
  bool Confirm(const QString& title, const QString& text) override {
    shown.push_back({Call::Confirm, Kind::Confirmation, title, text, {}});
    const Answer answer = Take(Call::Confirm);
    if (answer.whileOpen) answer.whileOpen();
    return answer.flag;
  }
  int Choose(Kind kind, const QString& title, const QString& text, const QStringList& buttons,
             int) override {
    shown.push_back({Call::Choose, kind, title, text, buttons.join('|')});
    const Answer answer = Take(Call::Choose);
    if (answer.whileOpen) answer.whileOpen();
    return answer.index;
  }
  std::optional<QString> QueryText(const QString& caption, const QString& prompt,
                                   const QString& initial) override {
    shown.push_back({Call::QueryText, Kind::Information, caption, prompt, initial});
    return Take(Call::QueryText).text;
  }
  QString OpenFileName(const QString& caption, const QString& initialPath,
                       const QString& filter) override {
    shown.push_back({Call::OpenFile, Kind::Information, caption, filter, initialPath});
    return Take(Call::OpenFile).text.value_or(QString());
  }
  QString SaveFileName(const QString& caption, const QString& initialPath,
                       const QString& filter) override {
    shown.push_back({Call::SaveFile, Kind::Information, caption, filter, initialPath});
    return Take(Call::SaveFile).text.value_or(QString());
  }
  bool SetUpPrinter(QPrinter&) override {
    shown.push_back({Call::PrinterSetup, Kind::Information, {}, {}, {}});
    return Take(Call::PrinterSetup).flag;
  }
  int ShowModal(QDialog& dialog) override {
    shown.push_back({Call::Modal, Kind::Information, dialog.windowTitle(), {}, {}});
    Answer answer = Take(Call::Modal);
    return answer.act ? answer.act(dialog) : QDialog::Rejected;
  }

  bool AllUsed() const { return answers_.empty(); }
  // Texts of the message boxes shown so far.
  std::vector<QString> MessageTexts() const {
    std::vector<QString> texts;
    for (const Shown& s : shown) {
      if (s.call == Call::Message || s.call == Call::Choose) texts.push_back(s.text);
    }
    return texts;
  }

  std::vector<Shown> shown;

 private:
  struct Answer {
    Call call;
    bool flag = false;
    std::optional<QString> text;
    std::function<int(QDialog&)> act;
    int index = -1;
    std::function<void()> whileOpen = {};
  };

  Answer Take(Call call) {
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected dialog: " << Describe(call) << " \""
                    << shown.back().title.toStdString() << "\" \""
                    << shown.back().text.toStdString() << "\"";
      return {call, false, std::nullopt, {}, -1, {}};
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    EXPECT_EQ(Describe(answer.call), Describe(call)) << "dialogs came in another order";
    return answer;
  }

  static const char* Describe(Call call) {
    switch (call) {
      case Call::Message: return "message box";
      case Call::Confirm: return "confirmation";
      case Call::Choose: return "choice";
      case Call::QueryText: return "text query";
      case Call::OpenFile: return "open dialog";
      case Call::SaveFile: return "save dialog";
      case Call::PrinterSetup: return "printer setup";
      case Call::Modal: return "modal window";
    }
    return "?";
  }

  std::deque<Answer> answers_;
};

}  // namespace zorv::test
