#include "app/core/country_flags.h"

#include <utility>

namespace tw {

CountryFlag FlagForCountry(const QString& country) {
  QString key = country;
  key.remove('.');
  key = key.trimmed().toLower();
  using F = CountryFlag;
  static const std::pair<const char*, CountryFlag> kNames[] = {
      {"australia", F::kAustralia},
      {"austria", F::kAustria},
      {"belgium", F::kBelgium},
      {"china", F::kChina},
      {"croatia", F::kCroatia},
      {"denmark", F::kDenmark},
      {"finland", F::kFinland},
      {"europe", F::kEurope},
      {"eu", F::kEurope},
      {"france", F::kFrance},
      {"germany", F::kGermany},
      {"great britain", F::kUnitedKingdom},
      {"britain", F::kUnitedKingdom},
      {"uk", F::kUnitedKingdom},
      {"united kingdom", F::kUnitedKingdom},
      {"england", F::kUnitedKingdom},
      {"greece", F::kGreece},
      {"hong kong", F::kHongKong},
      {"italy", F::kItaly},
      {"japan", F::kJapan},
      {"mexico", F::kMexico},
      {"poland", F::kPoland},
      {"spain", F::kSpain},
      {"sweden", F::kSweden},
      {"switzerland", F::kSwitzerland},
      {"usa", F::kUnitedStates},
      {"us", F::kUnitedStates},
      {"united states", F::kUnitedStates},
      {"united states of america", F::kUnitedStates},
      {"america", F::kUnitedStates},
      {"netherlands", F::kNetherlands},
      {"the netherlands", F::kNetherlands},
      {"holland", F::kNetherlands},
  };
  for (const auto& [name, flag] : kNames) {
    if (key == QLatin1String(name)) return flag;
  }
  return F::kNone;
}

}  // namespace tw
