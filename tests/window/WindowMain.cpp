#include "platform/forms/Forms.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <cstdlib>

// Headless by default; settings, if anything wrote any, would land in a private directory.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  QTemporaryDir home;
  setenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit().constData(), 1);
  Application->Initialize();
  return RUN_ALL_TESTS();
}
