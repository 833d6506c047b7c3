#ifndef TUNEWRIGHT_APP_CORE_COUNTRY_FLAGS_H_
#define TUNEWRIGHT_APP_CORE_COUNTRY_FLAGS_H_

#include <QString>

namespace tw {

enum class CountryFlag {
  kNone,
  kAustralia,
  kAustria,
  kBelgium,
  kChina,
  kCroatia,
  kDenmark,
  kFinland,
  kEurope,
  kFrance,
  kGermany,
  kUnitedKingdom,
  kGreece,
  kHongKong,
  kItaly,
  kJapan,
  kMexico,
  kPoland,
  kSpain,
  kSweden,
  kSwitzerland,
  kUnitedStates,
  kNetherlands,
};

// The flag a song's country field selects: "." removed, trimmed, lower-cased, then one of the
// accepted names ("U.S.A." and " Holland " select a flag, "Deutschland" does not).
CountryFlag FlagForCountry(const QString& country);

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_COUNTRY_FLAGS_H_
