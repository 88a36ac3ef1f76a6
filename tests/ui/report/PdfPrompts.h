#pragma once
// Scripted prompts whose printer setup, when answered OK, chooses "print to file" with a PDF
// name, as a user does in the printer dialog on a machine without a printer.
#include <QPrinter>
#include <QString>

#include "tests/support/ScriptedPrompts.h"

namespace zorv::test {

class PdfPrompts final : public Prompts {
 public:
  PdfPrompts(ScriptedPrompts& script, QString pdfFile) : script_(script), pdfFile_(std::move(pdfFile)) {}

  void Message(Kind kind, const QString& title, const QString& text) override {
    script_.Message(kind, title, text);
  }
  int Choose(Kind kind, const QString& title, const QString& text, const QStringList& buttons,
             int defaultButton) override {
    return script_.Choose(kind, title, text, buttons, defaultButton);
  }
  bool Confirm(const QString& title, const QString& text) override {
    return script_.Confirm(title, text);
  }
  std::optional<QString> QueryText(const QString& caption, const QString& prompt,
                                   const QString& initial) override {
    return script_.QueryText(caption, prompt, initial);
  }
  QString OpenFileName(const QString& caption, const QString& initialPath,
                       const QString& filter) override {
    return script_.OpenFileName(caption, initialPath, filter);
  }
  QString SaveFileName(const QString& caption, const QString& initialPath,
                       const QString& filter) override {
    return script_.SaveFileName(caption, initialPath, filter);
  }
  bool SetUpPrinter(QPrinter& printer) override {
    if (!script_.SetUpPrinter(printer)) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile_);
    return true;
  }
  int ShowModal(QDialog& dialog) override { return script_.ShowModal(dialog); }

 private:
  ScriptedPrompts& script_;
  QString pdfFile_;
};

}  // namespace zorv::test

#include "tests/support/FakePageHost.h"

namespace zorv::test {

// A page host that is the fake host in everything but its prompts, which print to `pdfFile`.
class PdfPrinterHost final : public PageHost {
 public:
  PdfPrinterHost(FakePageHost& host, QString pdfFile)
      : host_(host), prompts_(host.scriptedPrompts, std::move(pdfFile)) {}

  SettingsImage& Image() override { return host_.Image(); }
  GlobalTrimPair& Trims() override { return host_.Trims(); }
  std::uint8_t ProductCode() const override { return host_.ProductCode(); }
  void SetProductCode(std::uint8_t code) override { host_.SetProductCode(code); }
  void RefreshControls(int flag) override { host_.RefreshControls(flag); }
  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    host_.SetCommand(command, argument);
  }
  std::uint32_t& TestTimeStamp() override { return host_.TestTimeStamp(); }
  Prompts& prompts() override { return prompts_; }
  Clock& clock() override { return host_.clock(); }

 private:
  FakePageHost& host_;
  PdfPrompts prompts_;
};

}  // namespace zorv::test
