#include "app/core/country_flags.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "app/flag_images.h"
#include "support/screenshots.h"

namespace tw {
namespace {

TEST(CountryFlags, AcceptedTextsSelectAFlag) {
  const std::pair<const char*, CountryFlag> cases[] = {
      {"U.S.A.", CountryFlag::kUnitedStates},
      {" Holland ", CountryFlag::kNetherlands},
      {"The Netherlands", CountryFlag::kNetherlands},
      {"EU", CountryFlag::kEurope},
      {"England", CountryFlag::kUnitedKingdom},
      {"u.k.", CountryFlag::kUnitedKingdom},
      {"Hong Kong", CountryFlag::kHongKong},
      {"Deutschland", CountryFlag::kNone},
      {"", CountryFlag::kNone},
      {"Hong  Kong", CountryFlag::kNone},
  };
  for (const auto& [text, flag] : cases) EXPECT_EQ(FlagForCountry(text), flag) << text;
}

TEST(CountryFlags, EveryFlagHasAPicture) {
  QImage sheet(22 * 44, 44, QImage::Format_ARGB32);
  sheet.fill(Qt::gray);
  QPainter painter(&sheet);
  for (int f = 1; f <= 22; ++f) {
    const QPixmap flag = FlagImage(static_cast<CountryFlag>(f));
    ASSERT_EQ(flag.size(), QSize(40, 40)) << f;
    // Something is drawn in the middle, so no flag is left blank.
    EXPECT_NE(flag.toImage().pixelColor(20, 20).alpha(), 0) << f;
    painter.drawPixmap((f - 1) * 44 + 2, 2, flag);
  }
  EXPECT_TRUE(FlagImage(CountryFlag::kNone).isNull());
  painter.end();
  const QString dir = qEnvironmentVariable("TW_SCREENSHOT_DIR");
  if (!dir.isEmpty()) sheet.save(dir + "/flags.png");
}

}  // namespace
}  // namespace tw
