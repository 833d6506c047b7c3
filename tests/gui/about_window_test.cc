#include "app/about_window.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/core/theme_rule.h"
#include "support/screenshots.h"

namespace tw {
namespace {

TEST(AboutWindow, DisablesItsOpenerUntilClosedEitherWay) {
  for (bool close_box : {false, true}) {
    QWidget opener;
    opener.show();
    QPointer<AboutWindow> about = AboutWindow::Open(&opener, "Bebas Neue", false, "file:///x");
    EXPECT_FALSE(opener.isEnabled());
    EXPECT_EQ(about->windowTitle(), "Tunewright - About");
    EXPECT_EQ(about->size(), QSize(500, 250));
    EXPECT_TRUE(about->Version()->text().startsWith("Tunewright 1.8 for "));
    testing::MaybeSaveScreenshot(*about, "about");
    if (close_box) {
      about->close();
    } else {
      about->CloseButton()->click();
    }
    EXPECT_TRUE(opener.isEnabled());
  }
}

TEST(AboutWindow, FollowsTheTheme) {
  for (bool dark : {false, true}) {
    QPointer<AboutWindow> about = AboutWindow::Open(nullptr, "", dark, "file:///x");
    EXPECT_EQ(about->Logo()->property("dark_variant").toBool(), dark);
    EXPECT_EQ(about->Link()->property("link_colour").toString(), dark ? "#ffffff" : "#0000ff");
    about->close();
  }
}

TEST(Theme, ThresholdOfTheWindowColour) {
  EXPECT_TRUE(IsDarkBackground(0x30, 0x30, 0x30));
  EXPECT_FALSE(IsDarkBackground(0xF0, 0xF0, 0xF0));
  // 4,000,000 = 0x3D0900: blue 61, green 9, red 0 is the first light colour.
  EXPECT_TRUE(IsDarkBackground(255, 8, 61));
  EXPECT_FALSE(IsDarkBackground(0, 9, 61));
}

TEST(Help, PageBelowTheRootFolder) {
  EXPECT_EQ(HelpAddress("/opt/tunewright"), "file:///opt/tunewright/assets/doc/help.html");
  EXPECT_EQ(HelpAddress("/home/dj/My Mixes"), "file:///home/dj/My Mixes/assets/doc/help.html");
}

}  // namespace
}  // namespace tw
