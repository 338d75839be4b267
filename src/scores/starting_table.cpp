#include "scores/starting_table.h"

#include <cstring>

#include "platform/demo.h"
#include "scores/score_file.h"
#include "scores/score_table.h"
#include "state/settings.h"

static_assert(kDemoRows == kScoreRows && kDemoNameLength == kNameLength);
static_assert(sizeof(Settings) == kDemoSettings && kDemoSettings == kSettingsBytes);

namespace {

void takeTable(const DemoTable& table) {
  for (int i = 0; i < kDemoSettings; ++i) *settingsField(i) = table.settings[i];
  for (int row = 0; row < kScoreRows; ++row) {
    std::memcpy(highScoreNames[row], table.names[row], kNameField);
    highScoreNames[row][kNameLength] = '\0';
    highScores[row] = table.scores[row];
  }
  bringSettingsIntoRange();
}

DemoTable currentTable() {
  DemoTable table{};
  for (int i = 0; i < kDemoSettings; ++i) table.settings[i] = *settingsField(i);
  for (int row = 0; row < kScoreRows; ++row) {
    std::memcpy(table.names[row], highScoreNames[row], kNameField);
    table.scores[row] = highScores[row];
  }
  return table;
}

}  // namespace

void loadStartingTable() {
  DemoTable table{};
  const DemoStart start = demoStart(&table);
  if (start == DemoStart::kDemoTableNoFile || start == DemoStart::kDefaultsNoFile)
    scoreFilePath[0] = '\0';
  if (start == DemoStart::kScoreFile) loadScoreFile();
  if (start == DemoStart::kDemoTable || start == DemoStart::kDemoTableNoFile) takeTable(table);
  recordDemoStart(currentTable());
}
