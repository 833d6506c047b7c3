#ifndef TUNEWRIGHT_APP_CORE_THEME_RULE_H_
#define TUNEWRIGHT_APP_CORE_THEME_RULE_H_

namespace tw {

// A window colour counts as dark when red + 256 * green + 65536 * blue is below 4,000,000:
// blue weighs most, so the test follows the number, not the perceived brightness.
constexpr bool IsDarkBackground(int red, int green, int blue) {
  return red + 256 * green + 65536 * blue < 4000000;
}

}  // namespace tw

#endif  // TUNEWRIGHT_APP_CORE_THEME_RULE_H_
