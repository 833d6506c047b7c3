#include "app/qt_dialogs.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(QtDialogs, RequesterPatternsBecomeQtFilters) {
  EXPECT_EQ(QtDialogs::QtFilter("MP3 file|*.mp3"), "MP3 file (*.mp3)");
  EXPECT_EQ(QtDialogs::QtFilter(".mix|*.mix"), ".mix (*.mix)");
  EXPECT_EQ(QtDialogs::QtFilter("Imagefiles (*.jpg;*.png)|*.jpg;*.png|All|*"),
            "Imagefiles (*.jpg;*.png) (*.jpg *.png);;All (*)");
  EXPECT_EQ(QtDialogs::QtFilter(""), "");
}

}  // namespace
}  // namespace tw
