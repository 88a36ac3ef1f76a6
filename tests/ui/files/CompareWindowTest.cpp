// File > "Compare with File...": the named differences between the window and a switch file or
// an export, what the note says when the file belongs elsewhere, and "Load this file".
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "image/SwitchFile.h"
#include "image/ZorvLayout.h"
#include "tests/app/FormFixture.h"
#include "ui/files/CompareWindow.h"

namespace zorv::test {
namespace {

struct Seen {
  QStringList rows;  // "setting | window | file"
  QString note;
  bool noteShown = false;
};

class CompareTest : public FormFixture {
 protected:
  void SetUp() override { MakeForm(); }

  QString SaveSwitchFile(const char* name, const SettingsImage& image) {
    const QString path = folder.filePath(name);
    EXPECT_TRUE(WriteSwitchFile(path.toStdString(), image));
    return path;
  }

  // Compares with `path`, reads the window and answers it with `button`.
  Seen CompareWith(const QString& path, const char* button) {
    Seen seen;
    prompts.ExpectOpenFile(path);
    prompts.ExpectModal([&](QDialog& dialog) {
      auto* table = dialog.findChild<QTableWidget*>("CompareTable");
      EXPECT_NE(table, nullptr);
      for (int r = 0; table != nullptr && r < table->rowCount(); ++r) {
        seen.rows << table->item(r, 0)->text() + " | " + table->item(r, 1)->text() + " | " +
                         table->item(r, 2)->text();
      }
      auto* note = dialog.findChild<QLabel*>("CompareNote");
      seen.note = note->text();
      seen.noteShown = !note->isHidden();
      dialog.findChild<QPushButton*>(button)->click();
      return dialog.result();
    });
    Action("CompareWithFile1")->trigger();
    return seen;
  }

  QTemporaryDir folder;
};

TEST_F(CompareTest, NamesEachDifferenceAndLoadsTheFileOnRequest) {
  SettingsImage file = form->Image();
  file[zorvfield::HoistUpMin] = 6;
  file[zorvfield::HoistLimitEnable] = 1;
  file[250] = 7;
  const QString path = SaveSwitchFile("other.joy", file);
  const SettingsImage before = form->Image();

  Seen seen = CompareWith(path, "CompareCloseButton");
  EXPECT_EQ(seen.rows, QStringList({"Enable Hoist Limit | Off | On",
                                    "Hoist Up minimum | 0.1v | 0.3v", "byte 250 | 0 | 7"}));
  EXPECT_FALSE(seen.noteShown);
  EXPECT_EQ(form->Image(), before);

  seen = CompareWith(path, "CompareLoadButton");
  EXPECT_EQ(form->Image(), file);
}

TEST_F(CompareTest, SaysSoWhenTheFileBelongsToAnotherLayoutOrProduct) {
  SettingsImage tarnovex = form->Image();
  tarnovex[kTarnovexMarkerOffset] = kTarnovexMarker;
  Seen seen = CompareWith(SaveSwitchFile("tarnovex.joy", tarnovex), "CompareCloseButton");
  EXPECT_TRUE(seen.noteShown);
  EXPECT_TRUE(seen.note.contains("select the Tarnovex layout")) << seen.note.toStdString();
  EXPECT_EQ(seen.rows, QStringList({"Joystick type | 4 Button HG | Tarnovex marker"}));

  // An export from a Quirn window, compared in the Zorv window.
  const SettingsImage zorv = form->Image();
  form->SetProductCode(product::kQuirn);
  form->RefreshControls(1);
  const QString exported = folder.filePath("quirn.json");
  prompts.ExpectSaveFile(exported);
  Action("Export1")->trigger();
  form->SetProductCode(0);
  form->Image() = zorv;
  form->RefreshControls(1);
  seen = CompareWith(exported, "CompareCloseButton");
  EXPECT_TRUE(seen.noteShown);
  EXPECT_TRUE(seen.note.contains("exported from a Quirn controller")) << seen.note.toStdString();
}

}  // namespace
}  // namespace zorv::test
